// The vtable arguments of one late-bound call, prepared from the caller's DISPPARAMS: each
// argument coerced to its parameter's type, an omitted one replaced by its default, a by-ref
// parameter given the caller's own storage or a temporary that is written back after the call,
// a variable argument list gathered into a SAFEARRAY of VARIANT, and a slot for the result.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "library/member_description.h"
#include "library/variant.h"

namespace zolbex {

class CallArguments {
public:
    explicit CallArguments(const MemberInfo& member);
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;

    // Fails with the DISPPARAMS error, its argument's index in *argError where one is to blame.
    HRESULT Prepare(DISPPARAMS& params, UINT* argError);

    // What DispCallFunc takes: one type and one argument per slot.
    UINT Count() const { return static_cast<UINT>(slots_.size()); }
    std::vector<VARTYPE> Types() const;
    std::vector<VARIANTARG*> Pointers();

    // After the call: the caller's by-ref variables that the member changed get their values.
    // The first value that cannot reach its variable fails (its argument's index in *argError);
    // the other variables are still written.
    HRESULT WriteBackChanged(UINT* argError);
    // Moves the member's result to `result` (when the member has one and the caller asked).
    void HandOutResult(VARIANT* result);

private:
    struct Slot {
        Variant temp;                  // coerced value, default, array or result
        VARIANT* writeBack = nullptr;  // the caller's by-ref argument to update after the call
        UINT argIndex = 0;             // its index in rgvarg
        Variant passedIn;              // temp as passed, to see whether the callee changed it
        VARTYPE callType = VT_EMPTY;
        VARIANTARG callArg{};
    };

    HRESULT PrepareFixed(const ParamInfo& param, VARIANT* arg, UINT argIndex, Slot& slot,
                         UINT* argError);
    HRESULT PrepareVarArgs(const std::vector<VARIANT*>& extra, const VARIANT* rgvarg, Slot& slot,
                           UINT* argError);
    void PrepareResult(Slot& slot);

    static void PassByRef(Slot& slot, VARTYPE type, void* pointer);
    static void PassTempByRef(Slot& slot, VARTYPE type);
    static void PassTempByValue(Slot& slot, VARTYPE type);

    const MemberInfo& member_;
    // Sized once: by-ref arguments point into the slots.
    std::vector<Slot> slots_;
};

}  // namespace zolbex
