// A platform double under which any member may run, with any arguments, without touching the
// machine: the registry is redirected into a scratch key (each predefined root to a sub-key of
// its own), the settings store lives in memory, process variables are written to an overlay over
// the real environment, and message boxes, broadcasts, started programs and shell notices are
// only counted (its window station counts as interactive, so the boxes are asked for). Any call
// can be made to fail. Safe to use from several threads at once.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <functional>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zolbex::testing {

// Every call of the platform interface, once: the enumeration, its names and its count are
// made from this list, so none of them can fall out of step with another.
#define ZOLBEX_PLATFORM_CALLS(X)                                                                       \
    X(OpenKey) X(CreateKey) X(CloseKey) X(DeleteKey) X(DeleteValue) X(QueryValue) X(SetValue)          \
    X(QueryKeyInfo) X(EnumValueName) X(EnumValue) X(EnumKeyName) X(ExpandText) X(ReadVariable) X(WriteVariable)    \
    X(EnvironmentEntries) X(Broadcast) X(MessageBox) X(CreateObject) X(CreateFileSystem)               \
    X(ReadSetting) X(SaveSetting) X(StartProgram) X(WaitForProgram) X(CloseProcess) X(DriveTarget)     \
    X(NotifyAssociations) X(NotifyDrive) X(WindowStation)

#define ZOLBEX_PLATFORM_CALL_ENUMERATOR(name) name,
enum class PlatformCall { ZOLBEX_PLATFORM_CALLS(ZOLBEX_PLATFORM_CALL_ENUMERATOR) };
#undef ZOLBEX_PLATFORM_CALL_ENUMERATOR

#define ZOLBEX_PLATFORM_CALL_ITEM(name) PlatformCall::name,
inline constexpr PlatformCall kAllPlatformCalls[] = {ZOLBEX_PLATFORM_CALLS(ZOLBEX_PLATFORM_CALL_ITEM)};
#undef ZOLBEX_PLATFORM_CALL_ITEM
inline constexpr size_t kPlatformCalls = std::size(kAllPlatformCalls);

const char* NameOf(PlatformCall call);
// Calls that change stored state: a failure of one must never be reported as success.
bool ChangesState(PlatformCall call);

inline constexpr wchar_t kSandboxKey[] = L"Software\\ZOLBEX11 Tests\\Sandbox";

// Derives from the interface itself, not from a forwarding double: a platform call added later
// leaves this class abstract until it decides what the call does here, so no test under the
// sandbox can reach the real machine through a call it forgot.
class SandboxPlatform : public platform::Platform {
public:
    SandboxPlatform();   // starts with an empty scratch key
    ~SandboxPlatform() override;  // removes it

    LONG OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override;
    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override;
    LONG CloseKey(HKEY key) override;
    LONG DeleteKey(HKEY root, const std::wstring& path) override;
    LONG DeleteValue(HKEY key, const std::wstring& name) override;
    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) override;
    LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override;
    LONG QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) override;
    LONG EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override;
    LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                   DWORD* size) override;
    LONG EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override;
    std::optional<std::wstring> ExpandEnvironmentText(const std::wstring& text) override;
    std::optional<std::wstring> ReadVariable(const std::wstring& name) override;
    bool WriteVariable(const std::wstring& name, const std::wstring& value) override;
    std::vector<std::wstring> EnvironmentEntries() override;
    void BroadcastSettingChange(const std::wstring& area) override;
    int ShowMessageBox(const std::wstring& text, const std::wstring& title, UINT flags) override;
    bool WindowStationIsInteractive() override;
    HRESULT CreateObject(const std::wstring& progId, IDispatch** object) override;
    HRESULT CreateFileSystem(REFIID iid, IDispatch** object) override;
    std::optional<std::wstring> ReadSetting(const std::wstring& application, const std::wstring& section,
                                            const std::wstring& key) override;
    LONG SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                     const std::wstring& value) override;
    HANDLE StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                        const std::wstring& directory, int show) override;
    bool WaitForProgram(HANDLE process, DWORD milliseconds) override;
    void CloseProcess(HANDLE process) override;
    std::optional<std::wstring> DriveTarget(const std::wstring& drive) override;
    void NotifyAssociationsChanged() override;
    void NotifyDriveChanged(const std::wstring& root) override;

    // Decides, for every call, whether it fails; `ordinal` counts all calls from 1 since the last
    // ResetCounts. Set it while no member runs.
    std::function<bool(PlatformCall call, int ordinal)> failWhen;

    void ResetCounts();
    int Calls() const;                      // platform calls since the last ResetCounts
    int Count(PlatformCall call) const;     // calls of one kind since then
    std::vector<PlatformCall> Failed() const;  // the calls made to fail since then, in order
    int OpenKeys() const;                   // keys opened and not yet closed
    int OpenProcesses() const;              // started programs not yet closed

    // The stand-in started-program handle (nothing is started).
    static inline const HANDLE kProcess = reinterpret_cast<HANDLE>(0x5150);
    // The only folder the stand-in file-system object knows, and its short form.
    static constexpr wchar_t kKnownFolder[] = L"\\Program Files\\Halvern";
    static constexpr wchar_t kKnownShortFolder[] = L"C:\\PROGRA~1\\HALVERN";

private:
    // Counts the call and says whether it is to fail (under the lock).
    bool Enter(PlatformCall call);
    std::optional<std::wstring> Redirected(HKEY root, const std::wstring& path) const;
    // Opening and creating a key: the same redirection and bookkeeping around another call.
    using KeyOpener = LONG (platform::Platform::*)(HKEY, const std::wstring&, REGSAM, HKEY*);
    LONG RedirectedKey(PlatformCall call, KeyOpener opener, HKEY root, const std::wstring& path,
                       REGSAM access, HKEY* key);

    mutable std::recursive_mutex lock_;
    std::array<int, kPlatformCalls> counts_{};
    int calls_ = 0;
    std::vector<PlatformCall> failed_;
    std::set<HKEY> openKeys_;
    int openProcesses_ = 0;
    std::map<std::wstring, std::wstring> variables_;  // folded name -> value written
    std::map<std::wstring, std::wstring> settings_;   // application\section\key -> value
};

}  // namespace zolbex::testing
