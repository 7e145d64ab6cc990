// The error reporter of the library's module procedures: one exclamation box per error.
#pragma once

#include <string>

#include "library/errors.h"

namespace zolbex {

// The library's application title, shown under every module error.
inline constexpr wchar_t kApplicationTitle[] = L"Halvern ZOLBEX11";

// Shows the error's number, its description and the application title, each on a line of its
// own, in a box with an exclamation icon and an OK button, titled with `source` (where a box
// can be seen: error_box.h).
void ShowModuleError(const AutomationError& error, const std::wstring& source);

}  // namespace zolbex
