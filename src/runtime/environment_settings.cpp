#include "runtime/environment_settings.h"

#include <windows.h>
#include <oleauto.h>

#include "library/errors.h"
#include "platform/platform.h"

namespace zolbex {
namespace {

constexpr wchar_t kSwitchApplication[] = L"Halvern";
constexpr wchar_t kSwitchSection[] = L"Solvane";
constexpr wchar_t kSwitchKey[] = L"CleanMachineEnvVar";
constexpr wchar_t kRecordApplication[] = L"Halvern\\Solvane";
constexpr wchar_t kRecordSection[] = L"Environment";

// The text as a 32-bit integer, by the automation runtime's own conversion (blanks around the
// number allowed, a fraction rounded as the runtime rounds).
LONG WholeNumberOf(const std::wstring& text) {
    LONG number = 0;
    const HRESULT hr = VarI4FromStr(const_cast<OLECHAR*>(text.c_str()), LOCALE_USER_DEFAULT, 0, &number);
    if (hr == DISP_E_OVERFLOW) Raise(Error::Overflow);
    if (FAILED(hr)) Raise(Error::TypeMismatch);
    return number;
}

}  // namespace

bool CleanSwitchIsOn() {
    const auto stored = platform::Current().ReadSetting(kSwitchApplication, kSwitchSection, kSwitchKey);
    return stored && WholeNumberOf(*stored) == 1;
}

void RecordVariableSet(const std::wstring& name, const std::wstring& value) {
    if (platform::Current().SaveSetting(kRecordApplication, kRecordSection, name, value) != ERROR_SUCCESS)
        Raise(Error::InvalidCall);
}

}  // namespace zolbex
