// Where each argument of a late-bound call goes: named arguments (a put's value is named
// DISPID_PROPERTYPUT) to the parameters they name, positional ones in order, and what is left
// into the variable argument list of a member that takes one.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "library/member_description.h"

namespace zolbex {

struct PlacedArguments {
    std::vector<VARIANT*> byParam;  // the caller's argument of each fixed parameter, or null
    std::vector<VARIANT*> extra;    // the variable argument list, in the caller's order
};

// Fails with the DISPPARAMS error, its argument's index in *argError where one is to blame.
HRESULT PlaceArguments(const MemberInfo& member, DISPPARAMS& params, PlacedArguments& placed,
                       UINT* argError);

// `hr` for the argument at `index` of rgvarg, recorded for the caller when it asked.
inline HRESULT ArgumentFault(HRESULT hr, UINT index, UINT* argError) {
    if (argError) *argError = index;
    return hr;
}

}  // namespace zolbex
