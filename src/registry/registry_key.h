// A registry key handle that lives for one operation and is closed through the platform layer,
// so that no handle survives a call whatever path the call takes.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/platform.h"

namespace zolbex {

// Access rights the registry object asks for: reading and testing a key, listing its sub-keys,
// and creating a key or writing/deleting a value (every key-specific right, no standard rights;
// deliberately not KEY_ALL_ACCESS).
inline constexpr REGSAM kQueryAccess = KEY_QUERY_VALUE;              // 0x0001
inline constexpr REGSAM kListSubKeysAccess = KEY_ENUMERATE_SUB_KEYS;  // 0x0008
inline constexpr REGSAM kWriteAccess = 0x3F;

// The root handle behind a ClassKey number. The predefined roots are negative 32-bit numbers
// that the system sign-extends to pointer width, so the conversion does the same.
inline HKEY RootHandle(LONG classKey) {
    return reinterpret_cast<HKEY>(static_cast<LONG_PTR>(classKey));
}

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens an existing key; returns the Win32 result (0 on success).
    LONG Open(LONG classKey, const std::wstring& path, REGSAM access) {
        return Acquire(&platform::Platform::OpenKey, classKey, path, access);
    }

    // Opens a key, creating it and every missing key above it; returns the Win32 result.
    LONG Create(LONG classKey, const std::wstring& path, REGSAM access) {
        return Acquire(&platform::Platform::CreateKey, classKey, path, access);
    }

    void Close() {
        if (HKEY key = std::exchange(handle_, nullptr)) platform::Current().CloseKey(key);
    }

    HKEY Get() const { return handle_; }

private:
    using Opener = LONG (platform::Platform::*)(HKEY, const std::wstring&, REGSAM, HKEY*);

    LONG Acquire(Opener open, LONG classKey, const std::wstring& path, REGSAM access) {
        Close();
        HKEY key = nullptr;
        LONG result = (platform::Current().*open)(RootHandle(classKey), path, access, &key);
        if (result == ERROR_SUCCESS) handle_ = key;
        return result;
    }

    HKEY handle_ = nullptr;
};

}  // namespace zolbex
