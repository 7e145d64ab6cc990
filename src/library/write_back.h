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

// The by-ref VARIANT whose storage a value for the by-ref argument `arg` goes into: the last
// reference of a chain of references, or null when `arg` is no reference.
VARIANT* WriteBackTarget(VARIANT* arg);

// Whether the variable behind `target` (from WriteBackTarget) can receive an array of type
// `arrayType`: a VARIANT, an array of VARIANT or an array of that very type.
bool CanHoldArray(const VARIANT& target, VARTYPE arrayType);

// Writes `value` into the caller's by-ref argument `target`. A value the variable cannot hold
// (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW), or an old value that cannot be released (a locked
// array: DISP_E_ARRAYISLOCKED), fails and leaves the variable as it was.
HRESULT WriteBack(VARIANT* value, VARIANT* target);

}  // namespace zolbex
