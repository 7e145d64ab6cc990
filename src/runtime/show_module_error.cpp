#include "runtime/show_module_error.h"

#include <windows.h>

#include "runtime/error_box.h"

namespace zolbex {

void ShowModuleError(const AutomationError& error, const std::wstring& source) {
    const std::wstring text = std::to_wstring(error.Number()) + L"\r\n" + error.Description() + L"\r\n" +
                              kApplicationTitle + L"\r\n";
    ShowErrorBox(text, source, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace zolbex
