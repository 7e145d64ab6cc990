// Handing a by-ref parameter's value back to the caller's variable after the call, in the
// variable's own type (a typed array becomes an array of VARIANT where the variable holds
// VARIANTs, as script clients only index those).
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace zolbex {

// Whether the callee changed a coerced by-ref value from what was passed in. A caller's
// variable keeps its own type unless the member really assigned to it; an array always counts
// as changed, since a callee may refill it in place.
bool ChangedByCallee(const VARIANT& now, const VARIANT& passedIn);

// Writes `value` into the caller's by-ref argument `target`; a value the variable cannot hold
// leaves it as it was.
void WriteBack(VARIANT* value, VARIANT* target);

}  // namespace zolbex
