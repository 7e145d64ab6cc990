// A late-bound call, step by step: choose the member, prepare its arguments, call it through
// the vtable, then hand back by-ref values, the result or the member's failure.
#include "library/dispatcher.h"

#include "library/call_arguments.h"
#include "library/call_checks.h"
#include "library/failure_report.h"
#include "library/variant.h"
#include "library/vtable_call.h"

namespace zolbex {

HRESULT DispatchTable::Invoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT* argError) const {
    static DISPPARAMS noParams{};
    if (!params) params = &noParams;
    // Nothing of the caller's is read before the block and every argument in it are known to be
    // readable.
    HRESULT hr = CheckDispParams(*params, argError);
    if (FAILED(hr)) return hr;
    const MemberInfo* member = Select(id, flags, *params);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    if (FAILED(member->unresolvedType)) return ReportMemberFailure(ReportUnresolvedType(*member), exception);
    if (TakesArgumentsOfItsResult(*member, flags, *params))
        return InvokeOnResult(object, *member, flags, params, result, exception, argError);

    CallArguments arguments(*member);
    hr = arguments.Prepare(*params, argError);
    if (FAILED(hr)) return hr;
    hr = CallThroughVtable(object, member->vtableOffset, arguments);
    const HRESULT handedBack = arguments.WriteBackChanged(argError);
    if (FAILED(hr)) return ReportMemberFailure(hr, exception);
    // A value that could not reach the caller's variable is a failed call, not a success.
    if (FAILED(handedBack)) return handedBack;
    arguments.HandOutResult(result);
    return S_OK;
}

// `list.Item(1)` written as `owner.List(1)`: a member without parameters that returns an object,
// called with arguments, hands them to the default member of its result.
bool DispatchTable::TakesArgumentsOfItsResult(const MemberInfo& member, WORD flags,
                                              const DISPPARAMS& params) {
    return params.cArgs > 0 && params.cNamedArgs == 0 && member.params.empty() &&
           member.hasResult && member.result.type == VT_DISPATCH &&
           (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET));
}

HRESULT DispatchTable::InvokeOnResult(IDispatch* object, const MemberInfo& member, WORD flags,
                                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                      UINT* argError) const {
    DISPPARAMS none{};
    Variant owner;
    HRESULT hr = Invoke(object, member.id, flags, &none, owner.Put(), exception, argError);
    if (FAILED(hr)) return hr;
    if (owner.Type() != VT_DISPATCH || !V_DISPATCH(owner.Get())) return DISP_E_BADPARAMCOUNT;
    // The default member may be a method (a collection's Item) or a property.
    return V_DISPATCH(owner.Get())->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                           DISPATCH_METHOD | DISPATCH_PROPERTYGET, params, result,
                                           exception, argError);
}

}  // namespace zolbex
