// The facade's one operation on a scope: each call makes a new object of the scope class the
// style names (0 process, 1 user, 2 machine), uses it once and releases it before returning.
// Any other style names no scope: nothing is read, stored or listed, and nothing is raised.
// Errors of the scope pass through unchanged.
#pragma once

#include <windows.h>

#include <string>

#include "library/com_ptr.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

// The variable's value in the scope; the empty text when there is no scope.
std::wstring ReadScopeVariable(LONG style, const std::wstring& name);
// Stores the value in the scope (nothing when there is no scope).
void WriteScopeVariable(LONG style, const std::wstring& name, const std::wstring& value);
// A new listing of the scope, or none when there is no scope.
ComPtr<_clsZolbexENVValuePairsA> ListScope(LONG style);

}  // namespace zolbex
