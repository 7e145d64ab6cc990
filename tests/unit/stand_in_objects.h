// Late-bound objects of other components, played by the tests: a minimal IDispatch base, and a
// file-system object whose GetFolder answers for the folders it is given (with a folder whose
// ShortPath is the short form given) and fails like the Scripting runtime for any other.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "foreign_object.h"
#include "library/bstr.h"

namespace zolbex::testing {

// A minimal late-bound object: names to DISPIDs, and one handler for every call.
class StandInDispatch : public ForeignObject<IDispatch> {
public:
    explicit StandInDispatch(std::map<std::wstring, DISPID> names) : names_(std::move(names)) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        auto found = count == 1 ? names_.find(names[0]) : names_.end();
        if (found == names_.end()) return DISP_E_UNKNOWNNAME;
        ids[0] = found->second;
        return S_OK;
    }

private:
    std::map<std::wstring, DISPID> names_;
};

class StandInFolder final : public StandInDispatch {
public:
    explicit StandInFolder(std::wstring shortPath) : StandInDispatch({{L"ShortPath", 1}}), shortPath_(shortPath) {}
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (id != 1 || !(flags & DISPATCH_PROPERTYGET) || params->cArgs != 0 || !result) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(shortPath_.c_str());
        return S_OK;
    }

private:
    std::wstring shortPath_;
};

// Answers GetFolder for the folders it knows, with a folder whose ShortPath is the given short
// form, and fails like the Scripting runtime (error 76) for any other.
class StandInFileSystem final : public StandInDispatch {
public:
    explicit StandInFileSystem(std::map<std::wstring, std::wstring> folders)
        : StandInDispatch({{L"GetFolder", 1}}), folders_(std::move(folders)) {}
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        if (id != 1 || !(flags & DISPATCH_METHOD) || params->cArgs != 1 || !result) return DISP_E_MEMBERNOTFOUND;
        if (V_VT(&params->rgvarg[0]) != VT_BSTR) return DISP_E_TYPEMISMATCH;
        const std::wstring path(Bstr::ViewOf(V_BSTR(&params->rgvarg[0])));
        asked.push_back(path);
        auto found = folders_.find(path);
        if (found == folders_.end()) {
            *exception = {};
            exception->scode = static_cast<SCODE>(0x800A004C);
            exception->bstrSource = SysAllocString(L"Microsoft VBScript runtime error");
            exception->bstrDescription = SysAllocString(L"Path not found");
            return DISP_E_EXCEPTION;
        }
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = new StandInFolder(found->second);
        return S_OK;
    }

    std::vector<std::wstring> asked;

private:
    std::map<std::wstring, std::wstring> folders_;
};

}  // namespace zolbex::testing
