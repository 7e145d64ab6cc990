#include "sandbox_platform.h"

#include <cwctype>

#include "library/class_table.h"
#include "stand_in_objects.h"

namespace zolbex::testing {
namespace {

std::wstring Folded(const std::wstring& text) {
    std::wstring folded = text;
    for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towupper(c));
    return folded;
}

// The real platform, which the sandbox uses only on keys under its scratch key and to read the
// process's own environment.
platform::Platform& real() { return platform::Win32(); }

void RemoveScratch() { RegDeleteTreeW(HKEY_CURRENT_USER, kSandboxKey); RegDeleteKeyW(HKEY_CURRENT_USER, kSandboxKey); }

}  // namespace

const char* NameOf(PlatformCall call) {
#define ZOLBEX_PLATFORM_CALL_NAME(name) #name,
    static const char* const names[] = {ZOLBEX_PLATFORM_CALLS(ZOLBEX_PLATFORM_CALL_NAME)};
#undef ZOLBEX_PLATFORM_CALL_NAME
    return names[static_cast<size_t>(call)];
}

bool ChangesState(PlatformCall call) {
    switch (call) {
        case PlatformCall::CreateKey: case PlatformCall::DeleteKey: case PlatformCall::DeleteValue:
        case PlatformCall::SetValue: case PlatformCall::WriteVariable: case PlatformCall::SaveSetting:
            return true;
        default:
            return false;
    }
}

SandboxPlatform::SandboxPlatform() { RemoveScratch(); }

SandboxPlatform::~SandboxPlatform() { RemoveScratch(); }

bool SandboxPlatform::Enter(PlatformCall call) {
    ++counts_[static_cast<size_t>(call)];
    ++calls_;
    const bool fails = failWhen && failWhen(call, calls_);
    if (fails) failed_.push_back(call);
    return fails;
}

std::optional<std::wstring> SandboxPlatform::Redirected(HKEY root, const std::wstring& path) const {
    const wchar_t* name = nullptr;
    if (root == HKEY_CLASSES_ROOT) name = L"HKEY_CLASSES_ROOT";
    else if (root == HKEY_CURRENT_USER) name = L"HKEY_CURRENT_USER";
    else if (root == HKEY_LOCAL_MACHINE) name = L"HKEY_LOCAL_MACHINE";
    else if (root == HKEY_USERS) name = L"HKEY_USERS";
    else if (root == HKEY_CURRENT_CONFIG) name = L"HKEY_CURRENT_CONFIG";
    if (!name) return std::nullopt;
    std::wstring redirected = std::wstring(kSandboxKey) + L"\\" + name;
    if (!path.empty()) redirected += L"\\" + path;
    return redirected;
}

LONG SandboxPlatform::OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    return RedirectedKey(PlatformCall::OpenKey, &platform::Platform::OpenKey, root, path, access, key);
}

LONG SandboxPlatform::CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    return RedirectedKey(PlatformCall::CreateKey, &platform::Platform::CreateKey, root, path, access, key);
}

LONG SandboxPlatform::RedirectedKey(PlatformCall call, KeyOpener opener, HKEY root, const std::wstring& path,
                                    REGSAM access, HKEY* key) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    *key = nullptr;
    if (Enter(call)) return ERROR_ACCESS_DENIED;
    const auto redirected = Redirected(root, path);
    if (!redirected) return ERROR_INVALID_HANDLE;
    LONG result = (real().*opener)(HKEY_CURRENT_USER, *redirected, access, key);
    if (result == ERROR_SUCCESS) openKeys_.insert(*key);
    return result;
}

LONG SandboxPlatform::CloseKey(HKEY key) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    const bool fails = Enter(PlatformCall::CloseKey);
    // A key the sandbox did not open is never closed for the caller: it may be anybody's.
    if (!openKeys_.erase(key)) return ERROR_INVALID_HANDLE;
    LONG result = real().CloseKey(key);
    return fails ? ERROR_INVALID_HANDLE : result;
}

LONG SandboxPlatform::DeleteKey(HKEY root, const std::wstring& path) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::DeleteKey)) return ERROR_ACCESS_DENIED;
    const auto redirected = Redirected(root, path);
    if (!redirected) return ERROR_INVALID_HANDLE;
    if (path.empty()) return ERROR_ACCESS_DENIED;  // a root itself cannot be deleted
    return real().DeleteKey(HKEY_CURRENT_USER, *redirected);
}

// The calls on a key handle reach only keys the sandbox opened.
#define ZOLBEX_SANDBOX_KEY_CALL(kind, call)                          \
    std::lock_guard<std::recursive_mutex> guard(lock_);              \
    if (Enter(PlatformCall::kind)) return ERROR_ACCESS_DENIED;       \
    if (!openKeys_.count(key)) return ERROR_INVALID_HANDLE;          \
    return call

LONG SandboxPlatform::DeleteValue(HKEY key, const std::wstring& name) {
    ZOLBEX_SANDBOX_KEY_CALL(DeleteValue, real().DeleteValue(key, name));
}
LONG SandboxPlatform::QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) {
    ZOLBEX_SANDBOX_KEY_CALL(QueryValue, real().QueryValue(key, name, type, data, size));
}
LONG SandboxPlatform::SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) {
    ZOLBEX_SANDBOX_KEY_CALL(SetValue, real().SetValue(key, name, type, data, size));
}
LONG SandboxPlatform::QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) {
    ZOLBEX_SANDBOX_KEY_CALL(QueryKeyInfo, real().QueryKeyInfo(key, maxSubKeyLength, maxValueNameLength));
}
LONG SandboxPlatform::EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) {
    ZOLBEX_SANDBOX_KEY_CALL(EnumValueName, real().EnumValueName(key, index, name, length));
}
LONG SandboxPlatform::EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                                DWORD* size) {
    ZOLBEX_SANDBOX_KEY_CALL(EnumValue, real().EnumValue(key, index, name, length, type, data, size));
}
LONG SandboxPlatform::EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) {
    ZOLBEX_SANDBOX_KEY_CALL(EnumKeyName, real().EnumKeyName(key, index, name, length));
}
#undef ZOLBEX_SANDBOX_KEY_CALL

std::optional<std::wstring> SandboxPlatform::ExpandEnvironmentText(const std::wstring& text) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::ExpandText)) return std::nullopt;
    return real().ExpandEnvironmentText(text);
}

std::optional<std::wstring> SandboxPlatform::ReadVariable(const std::wstring& name) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::ReadVariable)) return std::nullopt;
    auto written = variables_.find(Folded(name));
    if (written != variables_.end()) return written->second;
    return real().ReadVariable(name);
}

bool SandboxPlatform::WriteVariable(const std::wstring& name, const std::wstring& value) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::WriteVariable)) return false;
    if (name.empty() || name.find(L'=') != std::wstring::npos) return false;  // as the system refuses them
    variables_[Folded(name)] = value;
    return true;
}

std::vector<std::wstring> SandboxPlatform::EnvironmentEntries() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::EnvironmentEntries)) return {};
    return real().EnvironmentEntries();
}

void SandboxPlatform::BroadcastSettingChange(const std::wstring&) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Enter(PlatformCall::Broadcast);  // never sent; a failed one looks the same to the caller
}

int SandboxPlatform::ShowMessageBox(const std::wstring&, const std::wstring&, UINT) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return Enter(PlatformCall::MessageBox) ? 0 : IDOK;
}

bool SandboxPlatform::WindowStationIsInteractive() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return !Enter(PlatformCall::WindowStation);  // a check that fails tells "not interactive"
}

HRESULT SandboxPlatform::CreateObject(const std::wstring& progId, IDispatch** object) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    *object = nullptr;
    if (Enter(PlatformCall::CreateObject)) return REGDB_E_CLASSNOTREG;
    // The library reaches only its own runtime class by ProgID; it need not be registered.
    if (Folded(progId) != L"ZOLBEX11.CLSZOLBEX11RUNTIMEA") return CO_E_CLASSSTRING;
    *object = NewRunTime().Detach();
    return S_OK;
}

HRESULT SandboxPlatform::CreateFileSystem(REFIID, IDispatch** object) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    *object = nullptr;
    if (Enter(PlatformCall::CreateFileSystem)) return REGDB_E_CLASSNOTREG;
    *object = new StandInFileSystem(std::map<std::wstring, std::wstring>{{kKnownFolder, kKnownShortFolder}});
    return S_OK;
}

std::optional<std::wstring> SandboxPlatform::ReadSetting(const std::wstring& application, const std::wstring& section,
                                                         const std::wstring& key) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::ReadSetting)) return std::nullopt;
    auto found = settings_.find(Folded(application + L"\\" + section + L"\\" + key));
    if (found == settings_.end()) return std::nullopt;
    return found->second;
}

LONG SandboxPlatform::SaveSetting(const std::wstring& application, const std::wstring& section,
                                  const std::wstring& key, const std::wstring& value) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::SaveSetting)) return ERROR_ACCESS_DENIED;
    settings_[Folded(application + L"\\" + section + L"\\" + key)] = value;
    return ERROR_SUCCESS;
}

HANDLE SandboxPlatform::StartProgram(HWND, const std::wstring&, const std::wstring&, const std::wstring&, int) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::StartProgram)) return nullptr;
    ++openProcesses_;
    return kProcess;
}

bool SandboxPlatform::WaitForProgram(HANDLE process, DWORD) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::WaitForProgram)) return false;
    return process == kProcess;
}

void SandboxPlatform::CloseProcess(HANDLE process) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Enter(PlatformCall::CloseProcess);
    if (process == kProcess) --openProcesses_;
}

std::optional<std::wstring> SandboxPlatform::DriveTarget(const std::wstring&) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    if (Enter(PlatformCall::DriveTarget)) return std::nullopt;
    return std::wstring(L"\\??\\") + kKnownShortFolder;
}

void SandboxPlatform::NotifyAssociationsChanged() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Enter(PlatformCall::NotifyAssociations);
}

void SandboxPlatform::NotifyDriveChanged(const std::wstring&) {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    Enter(PlatformCall::NotifyDrive);
}

void SandboxPlatform::ResetCounts() {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    counts_.fill(0);
    calls_ = 0;
    failed_.clear();
}

int SandboxPlatform::Calls() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return calls_;
}

int SandboxPlatform::Count(PlatformCall call) const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return counts_[static_cast<size_t>(call)];
}

std::vector<PlatformCall> SandboxPlatform::Failed() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return failed_;
}

int SandboxPlatform::OpenKeys() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return static_cast<int>(openKeys_.size());
}

int SandboxPlatform::OpenProcesses() const {
    std::lock_guard<std::recursive_mutex> guard(lock_);
    return openProcesses_;
}

}  // namespace zolbex::testing
