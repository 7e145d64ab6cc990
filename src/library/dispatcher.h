// Our IDispatch engine, driven by the type library's descriptions of each dual interface.
// The member table is built from those descriptions once per interface (dispatch_table.cpp);
// a call is then placed and prepared (argument_placement, argument_coercion, call_arguments),
// made through the vtable (vtable_call), and its by-ref values and failure handed back
// (write_back, failure_report). Invoke (dispatcher.cpp) reads as those steps.
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
#include "library/member_description.h"

namespace zolbex {

// The members of one dual interface, built once from its type information.
class DispatchTable {
public:
    explicit DispatchTable(REFIID iid);
    // The table of the interface `described` describes (either half of a dual interface).
    explicit DispatchTable(ITypeInfo* described);
    ~DispatchTable();
    DispatchTable(const DispatchTable&) = delete;
    DispatchTable& operator=(const DispatchTable&) = delete;

    // The type information of the dispatch half (what IDispatch::GetTypeInfo hands out).
    ITypeInfo* DispatchTypeInfo() const { return dispatchInfo_.Get(); }
    HRESULT GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
    HRESULT Invoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) const;

    // The table of an interface of this library, built on first use and kept until
    // ReleaseAll.
    static const DispatchTable& For(REFIID iid);
    // Destroys every table and releases the type library they were built from, when the DLL
    // is freed: a table handed out before must not be used again.
    static void ReleaseAll();

private:
    // The member a call with `flags` means, or null.
    const MemberInfo* Select(DISPID id, WORD flags, const DISPPARAMS& params) const;
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
