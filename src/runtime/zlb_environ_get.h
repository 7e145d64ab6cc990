// ZLBEnvironGet: a machine-scope look-up made through a separate runtime object, which the
// library reaches the way any client would, by its ProgID and a late-bound call.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace zolbex {

// The ProgID through which the library reaches its own runtime class.
inline constexpr wchar_t kRunTimeProgId[] = L"zolbex11.clsZolbex11RunTimeA";

// Creates a runtime object by its ProgID, calls its EnvironGet by name with the three
// arguments by reference, and releases it. Never fails: each failing step is shown with
// ShowModuleError and the next step runs; the result stays empty unless the call succeeded.
// Without the library registered that makes two reports, the failed creation and the call
// through no object.
std::wstring ZLBEnvironGet(LONG* lStyle, BSTR* sVariable, VARIANT_BOOL* bFullValue);

}  // namespace zolbex
