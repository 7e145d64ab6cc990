#include "runtime/error_box.h"

#include "platform/platform.h"

namespace zolbex {

void ShowErrorBox(const std::wstring& text, const std::wstring& title, UINT flags) {
    platform::Platform& platform = platform::Current();
    if (!platform.WindowStationIsInteractive()) return;
    platform.ShowMessageBox(text, title, flags);
}

}  // namespace zolbex
