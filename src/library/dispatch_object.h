// Base of every automation class of the library: the counted IUnknown of ComObject, plus
// ISupportErrorInfo and IDispatch through the dispatcher.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "library/com_object.h"
#include "library/call_checks.h"
#include "library/com_ptr.h"
#include "library/dispatcher.h"
#include "library/errors.h"

namespace zolbex {

template <class Interface>
class DispatchObject : public ComObject<Interface, ISupportErrorInfo> {
public:
    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return Guarded(ErrorObject::LeaveAlone, [&] {
            *info = Table().DispatchTypeInfo();
            (*info)->AddRef();
        });
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT hr = CheckNamesRequest(iid, names, count, ids);
        if (FAILED(hr)) return hr;
        return Guarded(ErrorObject::LeaveAlone, [&] { return Table().GetIDsOfNames(names, count, ids); });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        // No result unless the call succeeds, whatever the caller left in it.
        if (result) VariantInit(result);
        // The interface argument is reserved: anything but IID_NULL is refused.
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        // The one frame method that records an error object: a member's failure reaches the
        // caller through it (and EXCEPINFO), so Invoke clears it first and leaves what failed.
        return Guarded([&] {
            return Table().Invoke(static_cast<Interface*>(this), id, flags, params, result, exception,
                                  argError);
        });
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Interface) || IsExtraInterface(iid) ? S_OK : S_FALSE;
    }

protected:
    DispatchObject() = default;

    // A further identifier under which the same interface is handed out (a class may override).
    virtual bool IsExtraInterface(REFIID) const { return false; }

    static const DispatchTable& Table() {
        static const DispatchTable& table = DispatchTable::For(__uuidof(Interface));
        return table;
    }

private:
    void* AlsoAnswers(REFIID iid) final {
        return iid == IID_IDispatch || IsExtraInterface(iid) ? static_cast<Interface*>(this) : nullptr;
    }
};

}  // namespace zolbex
