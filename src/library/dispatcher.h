// Our IDispatch engine, driven by the type library's descriptions of each dual interface.
//
// Late binding follows the automation rules: names resolve without regard to case, arguments
// are coerced to the declared types, omitted optional arguments get their defaults (passed as
// by-ref temporaries where the parameter is by-ref), named arguments are honoured, a variable
// argument list is gathered into a SAFEARRAY of VARIANT, by-ref arguments are written back, and
// a failing member's error object becomes EXCEPINFO with DISP_E_EXCEPTION. One addition: a
// by-ref VARIANT (a script variable) passed to a typed by-ref parameter is coerced in and
// written back instead of failing with a type mismatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "library/com_ptr.h"

namespace zolbex {

// How one parameter (or result) is passed through the vtable.
struct ParamInfo {
    VARTYPE type = VT_EMPTY;  // the value type: VT_BSTR, VT_I4, VT_VARIANT, VT_DISPATCH, VT_ARRAY|VT_BSTR ...
    IID interfaceId = IID_NULL;  // for interface pointers: the interface to query for
    bool byRef = false;
    bool optional = false;
    bool hasDefault = false;
    VARIANT defaultValue{};  // valid when hasDefault
};

// One vtable member (a method, or one accessor of a property).
struct MemberInfo {
    DISPID id = DISPID_UNKNOWN;
    INVOKEKIND kind = INVOKE_FUNC;
    short vtableOffset = 0;
    bool varArgs = false;   // the last parameter receives the variable argument list
    std::vector<ParamInfo> params;  // without the retval
    bool hasResult = false;
    ParamInfo result;
};

// The members of one dual interface, built once from its type information.
class DispatchTable {
public:
    explicit DispatchTable(REFIID iid);
    ~DispatchTable();
    DispatchTable(const DispatchTable&) = delete;
    DispatchTable& operator=(const DispatchTable&) = delete;

    // The type information of the dispatch half (what IDispatch::GetTypeInfo hands out).
    ITypeInfo* DispatchTypeInfo() const { return dispatchInfo_.Get(); }
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
    HRESULT Invoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) const;

    // The table of an interface of this library, built on first use and kept for the process.
    static const DispatchTable& For(REFIID iid);

private:
    const MemberInfo* Select(DISPID id, WORD flags, const DISPPARAMS* params) const;
    static bool TakesArgumentsOfItsResult(const MemberInfo& member, WORD flags,
                                          const DISPPARAMS& params);
    HRESULT InvokeOnResult(IDispatch* object, const MemberInfo& member, WORD flags,
                           DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                           UINT* argError) const;

    ComPtr<ITypeInfo> dispatchInfo_;
    ComPtr<ITypeInfo> vtableInfo_;
    std::vector<std::unique_ptr<MemberInfo>> members_;
    std::unordered_map<DISPID, std::vector<const MemberInfo*>> byId_;
    std::unordered_map<std::wstring, DISPID> idByFoldedName_;
};

}  // namespace zolbex
