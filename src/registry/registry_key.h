// A registry key handle that lives for one operation and is closed through the platform layer,
// so that no handle survives a call whatever path the call takes.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/registry_names.h"

namespace zolbex {

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
