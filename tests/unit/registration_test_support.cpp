#include "registration_test_support.h"

#include <cstdlib>

namespace zolbex::testing {

bool ProcessHasTwoRegistryViews() {
    if (sizeof(void*) == 8) return true;
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::wstring ReadDefault(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return L"<missing>";
    LONG status = RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? buffer : L"<missing>";
}

BuiltDll::BuiltDll() {
    const wchar_t* path = _wgetenv(L"ZOLBEX11_DLL");
    if (!path || !*path) return;
    path_ = path;
    module_ = LoadLibraryW(path);
}

BuiltDll::~BuiltDll() {
    if (module_) FreeLibrary(module_);
}

}  // namespace zolbex::testing
