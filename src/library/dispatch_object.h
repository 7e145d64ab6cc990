// Base of every class of the library: reference counting, QueryInterface, ISupportErrorInfo and
// IDispatch through the dispatcher, and the live-object count behind DllCanUnloadNow.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <new>
#include <utility>

#include "library/com_ptr.h"
#include "library/dispatcher.h"
#include "library/errors.h"
#include "library/module.h"

namespace zolbex {

template <class Interface>
class DispatchObject : public Interface, public ISupportErrorInfo {
public:
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Interface) ||
            IsExtraInterface(iid)) {
            *out = static_cast<Interface*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

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
        return Guarded([&] {
            *info = Table().DispatchTypeInfo();
            (*info)->AddRef();
        });
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        HRESULT hr = S_OK;
        HRESULT guard = Guarded([&] { hr = Table().GetIDsOfNames(names, count, ids); });
        return FAILED(guard) ? guard : hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override {
        // The interface argument is reserved: anything but IID_NULL is refused.
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        HRESULT hr = S_OK;
        HRESULT guard = Guarded([&] {
            hr = Table().Invoke(static_cast<Interface*>(this), id, flags, params, result,
                                exception, argError);
        });
        return FAILED(guard) ? guard : hr;
    }

    // ISupportErrorInfo
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Interface) || IsExtraInterface(iid) ? S_OK : S_FALSE;
    }

protected:
    DispatchObject() { module::ObjectCreated(); }
    virtual ~DispatchObject() { module::ObjectDestroyed(); }

    // A further identifier under which the same interface is handed out (a class may override).
    virtual bool IsExtraInterface(REFIID) const { return false; }

    static const DispatchTable& Table() {
        static const DispatchTable& table = DispatchTable::For(__uuidof(Interface));
        return table;
    }

private:
    std::atomic<ULONG> references_{0};
};

// Makes a new object of a library class and returns its first reference.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
    T* object = new T(std::forward<Args>(args)...);
    return ComPtr<T>(object);
}

}  // namespace zolbex
