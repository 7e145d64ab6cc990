// What the dispatcher checks of a call before it reads any argument: a DISPPARAMS block whose
// counts and arrays agree, and arguments that can be read without following a pointer nobody
// gave (a null by-ref pointer, a chain of references that never ends).
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace zolbex {

// S_OK, or E_INVALIDARG for a malformed block: arguments counted but no array of them, named
// arguments counted but no array of their DISPIDs, more named arguments than arguments, or an
// argument that cannot be read (its index in *badArgument).
HRESULT CheckDispParams(const DISPPARAMS& params, UINT* badArgument);

// S_OK, or the answer GetIDsOfNames gives a malformed request: DISP_E_UNKNOWNINTERFACE for an
// interface argument other than IID_NULL, E_INVALIDARG for a missing array of names or of ids.
HRESULT CheckNamesRequest(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids);

}  // namespace zolbex
