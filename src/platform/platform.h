// The thin layer between the library's logic and the operating system. Every registry,
// environment, broadcast, message-box, shell and settings-store call goes through
// zolbex::platform::Current(), so tests can substitute a recording double.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <vector>

namespace zolbex::platform {

class Platform {
public:
    virtual ~Platform() = default;

    // Registry (wide entry points). Results are Win32 error codes (0 = success).
    virtual LONG OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) = 0;
    // RegCreateKeyExW with class "", options 0 and all-zero security attributes.
    virtual LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) = 0;
    virtual LONG CloseKey(HKEY key) = 0;
    virtual LONG DeleteKey(HKEY root, const std::wstring& path) = 0;
    virtual LONG DeleteValue(HKEY key, const std::wstring& name) = 0;
    // RegQueryValueExW: data may be null to probe; size is in bytes, in and out.
    virtual LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data,
                            DWORD* size) = 0;
    virtual LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data,
                          DWORD size) = 0;
    // RegQueryInfoKeyW: longest sub-key and value name lengths in characters, no terminator.
    virtual LONG QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) = 0;
    // RegEnumValueW / RegEnumKeyExW: length in characters (in: buffer size incl. terminator,
    // out: name length without it).
    virtual LONG EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) = 0;
    // RegEnumValueW with a data buffer: the name as above, type and data as QueryValue gives
    // them. ERROR_MORE_DATA when the name or the data does not fit, the data's size then in *size.
    virtual LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                           DWORD* size) = 0;
    virtual LONG EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) = 0;
    // ExpandEnvironmentStringsW, the whole expansion however long (the platform's own call is
    // limited to 32K characters); nullopt when it cannot be expanded whole.
    virtual std::optional<std::wstring> ExpandEnvironmentText(const std::wstring& text) = 0;

    // Process environment.
    virtual std::optional<std::wstring> ReadVariable(const std::wstring& name) = 0;
    virtual bool WriteVariable(const std::wstring& name, const std::wstring& value) = 0;
    // Every "name=value" entry of the process environment block, in block order.
    virtual std::vector<std::wstring> EnvironmentEntries() = 0;

    // SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, area, SMTO_ABORTIFHUNG, 5000).
    virtual void BroadcastSettingChange(const std::wstring& area) = 0;
    // MessageBoxW with no owner; returns its result.
    virtual int ShowMessageBox(const std::wstring& text, const std::wstring& title, UINT flags) = 0;
    // Whether the process's window station is interactive (GetProcessWindowStation, then
    // GetUserObjectInformationW UOI_FLAGS: WSF_VISIBLE), so that a box can be seen and
    // dismissed. False where it cannot be told.
    virtual bool WindowStationIsInteractive() = 0;

    // A new object of the class a ProgID names (CLSIDFromProgID, then CoCreateInstance of an
    // in-process or local server), asked for IDispatch. Its HRESULT; *object is null on failure.
    virtual HRESULT CreateObject(const std::wstring& progId, IDispatch** object) = 0;
    // A new file-system object of the Scripting runtime (class FileSystemObject), asked for
    // `iid` (its IFileSystem3). Its HRESULT; *object is null on failure.
    virtual HRESULT CreateFileSystem(REFIID iid, IDispatch** object) = 0;

    // The per-user application settings store, kept where the automation runtime's
    // GetSetting/SaveSetting keep theirs: HKEY_CURRENT_USER\Software\VB and VBA Program
    // Settings\<application>\<section>, one REG_SZ value per key.
    // The stored text (read by the rule of stored_data.h), or nullopt when the entry is missing.
    virtual std::optional<std::wstring> ReadSetting(const std::wstring& application,
                                                    const std::wstring& section,
                                                    const std::wstring& key) = 0;
    // Win32 error code (0 = success).
    virtual LONG SaveSetting(const std::wstring& application, const std::wstring& section,
                             const std::wstring& key, const std::wstring& value) = 0;

    // ShellExecuteExW with the verb "open", SEE_MASK_NOCLOSEPROCESS and SEE_MASK_FLAG_NO_UI: the
    // started process's handle (the caller closes it with CloseProcess), or null when nothing
    // was started (no error box is shown).
    virtual HANDLE StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                                const std::wstring& directory, int show) = 0;
    // Waits for a started process at most `milliseconds`; true when it ended in time. A thread
    // in a single-threaded apartment keeps dispatching its messages and incoming calls meanwhile.
    virtual bool WaitForProgram(HANDLE process, DWORD milliseconds) = 0;
    virtual void CloseProcess(HANDLE process) = 0;
    // QueryDosDeviceW of a drive such as "Z:": its first target, or nullopt when not defined.
    virtual std::optional<std::wstring> DriveTarget(const std::wstring& drive) = 0;
    // SHChangeNotify(SHCNE_ASSOCCHANGED): lets the shell pick up new associations.
    virtual void NotifyAssociationsChanged() = 0;
    // SHChangeNotify(SHCNE_UPDATEITEM) for a drive's root ("Z:\"): lets the shell show the
    // drive's new name.
    virtual void NotifyDriveChanged(const std::wstring& root) = 0;
};

// The platform in use; the real Win32 one unless a test installed another.
Platform& Current();

// Installs a substitute for the lifetime of the object (tests only).
class ScopedPlatform {
public:
    explicit ScopedPlatform(Platform& substitute);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform* previous_;
};

// The real implementation, for doubles that record and forward.
Platform& Win32();

}  // namespace zolbex::platform
