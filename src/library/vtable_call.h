// The call itself: a member of a dual interface reached through its vtable slot.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "library/call_arguments.h"

namespace zolbex {

// Calls the member at `vtableOffset` of `object` with the prepared arguments and returns the
// member's HRESULT (or DispCallFunc's own failure). The thread's error object is cleared
// first, so that one found after a failure is the member's.
HRESULT CallThroughVtable(IDispatch* object, short vtableOffset, CallArguments& arguments);

}  // namespace zolbex
