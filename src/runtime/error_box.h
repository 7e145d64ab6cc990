// The message box the library's error reports use. A box needs a user to dismiss it: in a
// process whose window station is not interactive (a service, a task run whether the user is
// logged on or not) nobody ever sees it and the call would never return, so there it is not
// shown at all.
#pragma once

#include <windows.h>

#include <string>

namespace zolbex {

void ShowErrorBox(const std::wstring& text, const std::wstring& title, UINT flags);

}  // namespace zolbex
