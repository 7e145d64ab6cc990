// A test double base: forwards every platform call to the real Win32 platform, so a double
// overrides only the calls it fakes or records.
#pragma once

#include "platform/platform.h"

namespace zolbex::testing {

class ForwardingPlatform : public platform::Platform {
public:
    LONG OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override {
        return real().OpenKey(root, path, access, key);
    }
    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override {
        return real().CreateKey(root, path, access, key);
    }
    LONG CloseKey(HKEY key) override { return real().CloseKey(key); }
    LONG DeleteKey(HKEY root, const std::wstring& path) override { return real().DeleteKey(root, path); }
    LONG DeleteValue(HKEY key, const std::wstring& name) override { return real().DeleteValue(key, name); }
    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override {
        return real().QueryValue(key, name, type, data, size);
    }
    LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override {
        return real().SetValue(key, name, type, data, size);
    }
    LONG QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) override {
        return real().QueryKeyInfo(key, maxSubKeyLength, maxValueNameLength);
    }
    LONG EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override {
        return real().EnumValueName(key, index, name, length);
    }
    LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                   DWORD* size) override {
        return real().EnumValue(key, index, name, length, type, data, size);
    }
    LONG EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override {
        return real().EnumKeyName(key, index, name, length);
    }
    std::optional<std::wstring> ExpandEnvironmentText(const std::wstring& text) override {
        return real().ExpandEnvironmentText(text);
    }
    std::optional<std::wstring> ReadVariable(const std::wstring& name) override {
        return real().ReadVariable(name);
    }
    bool WriteVariable(const std::wstring& name, const std::wstring& value) override {
        return real().WriteVariable(name, value);
    }
    std::vector<std::wstring> EnvironmentEntries() override { return real().EnvironmentEntries(); }
    void BroadcastSettingChange(const std::wstring& area) override { real().BroadcastSettingChange(area); }
    int ShowMessageBox(const std::wstring& text, const std::wstring& title, UINT flags) override {
        return real().ShowMessageBox(text, title, flags);
    }
    bool WindowStationIsInteractive() override { return real().WindowStationIsInteractive(); }
    HRESULT CreateObject(const std::wstring& progId, IDispatch** object) override {
        return real().CreateObject(progId, object);
    }
    HRESULT CreateFileSystem(REFIID iid, IDispatch** object) override {
        return real().CreateFileSystem(iid, object);
    }
    std::optional<std::wstring> ReadSetting(const std::wstring& application, const std::wstring& section,
                                            const std::wstring& key) override {
        return real().ReadSetting(application, section, key);
    }
    LONG SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) override {
        return real().SaveSetting(application, section, key, value);
    }
    HANDLE StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                        const std::wstring& directory, int show) override {
        return real().StartProgram(owner, file, parameters, directory, show);
    }
    bool WaitForProgram(HANDLE process, DWORD milliseconds) override {
        return real().WaitForProgram(process, milliseconds);
    }
    void CloseProcess(HANDLE process) override { real().CloseProcess(process); }
    std::optional<std::wstring> DriveTarget(const std::wstring& drive) override {
        return real().DriveTarget(drive);
    }
    void NotifyAssociationsChanged() override { real().NotifyAssociationsChanged(); }
    void NotifyDriveChanged(const std::wstring& root) override { real().NotifyDriveChanged(root); }

protected:
    static platform::Platform& real() { return platform::Win32(); }
};

}  // namespace zolbex::testing
