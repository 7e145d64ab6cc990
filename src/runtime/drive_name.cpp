#include "runtime/drive_name.h"

#include <windows.h>

#include <cwctype>

#include "platform/platform.h"
#include "platform/registry_names.h"
#include "registry/registry_key.h"

namespace zolbex {
namespace {

constexpr wchar_t kDriveIcons[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\";

}  // namespace

void NameDrive(const std::wstring& drive, const std::wstring& label) {
    if (drive.size() < 2 || drive[1] != L':' || !std::iswalpha(drive[0])) return;
    const wchar_t letter = static_cast<wchar_t>(std::towupper(drive[0]));
    RegistryKey key;
    if (key.Create(kHkeyLocalMachine, kDriveIcons + std::wstring(1, letter) + L"\\DefaultLabel",
                   KEY_SET_VALUE | KEY_WOW64_64KEY) != ERROR_SUCCESS)
        return;
    platform::Platform& platform = platform::Current();
    if (platform.SetValue(key.Get(), L"", REG_SZ, reinterpret_cast<const BYTE*>(label.c_str()),
                          static_cast<DWORD>((label.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        return;
    key.Close();
    platform.NotifyDriveChanged(std::wstring(1, letter) + L":\\");
}

}  // namespace zolbex
