#include "platform/platform.h"
#include "platform/stored_data.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string_view>

namespace zolbex::platform {
namespace {

// The Scripting runtime's FileSystemObject class.
constexpr CLSID kFileSystemObject = {0x0D43FE01, 0xF093, 0x11CF, {0x89, 0x40, 0x00, 0xA0, 0xC9, 0x05, 0x42, 0x28}};

class Win32Platform final : public Platform {
public:
    LONG OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override {
        *key = nullptr;
        return RegOpenKeyExW(root, path.c_str(), 0, access, key);
    }

    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override {
        *key = nullptr;
        SECURITY_ATTRIBUTES security{};  // all zero: default descriptor, not inheritable
        DWORD disposition = 0;
        wchar_t noClass[] = L"";
        return RegCreateKeyExW(root, path.c_str(), 0, noClass, REG_OPTION_NON_VOLATILE, access,
                               &security, key, &disposition);
    }

    LONG CloseKey(HKEY key) override { return RegCloseKey(key); }

    LONG DeleteKey(HKEY root, const std::wstring& path) override {
        return RegDeleteKeyW(root, path.c_str());
    }

    LONG DeleteValue(HKEY key, const std::wstring& name) override {
        return RegDeleteValueW(key, name.c_str());
    }

    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data,
                    DWORD* size) override {
        return RegQueryValueExW(key, name.c_str(), nullptr, type, data, size);
    }

    LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data,
                  DWORD size) override {
        return RegSetValueExW(key, name.c_str(), 0, type, data, size);
    }

    LONG QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) override {
        return RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, maxSubKeyLength,
                                nullptr, nullptr, maxValueNameLength, nullptr, nullptr, nullptr);
    }

    LONG EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override {
        return RegEnumValueW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
    }

    LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                   DWORD* size) override {
        return RegEnumValueW(key, index, name, length, nullptr, type, data, size);
    }

    LONG EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override {
        return RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
    }

    std::optional<std::wstring> ExpandEnvironmentText(const std::wstring& text) override {
        if (auto whole = ExpandAtOnce(text)) return whole;
        return ExpandReferenceByReference(text);
    }

    std::optional<std::wstring> ReadVariable(const std::wstring& name) override {
        std::wstring value(256, L'\0');
        for (;;) {
            SetLastError(ERROR_SUCCESS);
            DWORD n = GetEnvironmentVariableW(name.c_str(), value.data(),
                                              static_cast<DWORD>(value.size()));
            if (n == 0) {
                if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
                return std::wstring();  // defined but empty
            }
            if (n < value.size()) {
                value.resize(n);
                return value;
            }
            value.assign(n, L'\0');  // n includes the terminator when the buffer is too small
        }
    }

    bool WriteVariable(const std::wstring& name, const std::wstring& value) override {
        return SetEnvironmentVariableW(name.c_str(), value.c_str()) != FALSE;
    }

    std::vector<std::wstring> EnvironmentEntries() override {
        std::vector<std::wstring> entries;
        wchar_t* block = GetEnvironmentStringsW();
        if (!block) return entries;
        for (const wchar_t* p = block; *p; p += entries.back().size() + 1)
            entries.emplace_back(p);
        FreeEnvironmentStringsW(block);
        return entries;
    }

    void BroadcastSettingChange(const std::wstring& area) override {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                            reinterpret_cast<LPARAM>(area.c_str()), SMTO_ABORTIFHUNG, 5000,
                            &result);
    }

    int ShowMessageBox(const std::wstring& text, const std::wstring& title, UINT flags) override {
        return MessageBoxW(nullptr, text.c_str(), title.c_str(), flags);
    }

    bool WindowStationIsInteractive() override {
        HWINSTA station = GetProcessWindowStation();
        USEROBJECTFLAGS flags{};
        DWORD needed = 0;
        if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return false;
        return (flags.dwFlags & WSF_VISIBLE) != 0;
    }

    HRESULT CreateObject(const std::wstring& progId, IDispatch** object) override {
        *object = nullptr;
        CLSID clsid;
        HRESULT hr = CLSIDFromProgID(progId.c_str(), &clsid);
        if (FAILED(hr)) return hr;
        return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(object));
    }

    HRESULT CreateFileSystem(REFIID iid, IDispatch** object) override {
        *object = nullptr;
        return CoCreateInstance(kFileSystemObject, nullptr, CLSCTX_INPROC_SERVER, iid,
                                reinterpret_cast<void**>(object));
    }

    std::optional<std::wstring> ReadSetting(const std::wstring& application,
                                            const std::wstring& section,
                                            const std::wstring& key) override {
        HKEY handle = nullptr;
        if (OpenKey(HKEY_CURRENT_USER, SettingsPath(application, section), KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
            return std::nullopt;
        const std::optional<StoredData> stored = ReadStoredData(*this, handle, key);
        CloseKey(handle);
        // The store keeps text; an expandable entry is read expanded.
        if (!stored || (stored->type != REG_SZ && stored->type != REG_EXPAND_SZ)) return std::nullopt;
        std::wstring text = TextOfStoredString(stored->bytes);
        if (stored->type == REG_EXPAND_SZ) return ExpandEnvironmentText(text);
        return text;
    }

    LONG SaveSetting(const std::wstring& application, const std::wstring& section,
                     const std::wstring& key, const std::wstring& value) override {
        HKEY handle = nullptr;
        LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, SettingsPath(application, section).c_str(),
                                      0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
        if (status != ERROR_SUCCESS) return status;
        status = RegSetValueExW(handle, key.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(handle);
        return status;
    }

    HANDLE StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                        const std::wstring& directory, int show) override {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        // No error box of the shell's for a program it cannot start (ShellExecute shows none).
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.hwnd = owner;
        info.lpVerb = L"open";
        info.lpFile = file.c_str();
        info.lpParameters = parameters.c_str();
        info.lpDirectory = directory.c_str();
        info.nShow = show;
        if (!ShellExecuteExW(&info)) return nullptr;
        return info.hProcess;
    }

    bool WaitForProgram(HANDLE process, DWORD milliseconds) override {
        // The caller's thread is usually a single-threaded apartment: its windows and the calls
        // other apartments make into it must go on while it waits, so the wait pumps messages.
        DWORD index = 0;
        HRESULT hr = CoWaitForMultipleHandles(0, milliseconds, 1, &process, &index);
        if (hr == CO_E_NOTINITIALIZED) return WaitForSingleObject(process, milliseconds) == WAIT_OBJECT_0;
        return hr == S_OK && index == 0;
    }

    void CloseProcess(HANDLE process) override {
        if (process) CloseHandle(process);
    }

    void NotifyDriveChanged(const std::wstring& root) override {
        SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, root.c_str(), nullptr);
    }

    std::optional<std::wstring> DriveTarget(const std::wstring& drive) override {
        std::wstring target(MAX_PATH, L'\0');
        for (;;) {
            DWORD n = QueryDosDeviceW(drive.c_str(), target.data(), static_cast<DWORD>(target.size()));
            if (n != 0) {
                target.resize(wcsnlen(target.c_str(), target.size()));
                return target;
            }
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
            target.assign(target.size() * 2, L'\0');
        }
    }

    void NotifyAssociationsChanged() override {
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    }

private:
    // The longest result one ExpandEnvironmentStringsW call is trusted with. Windows documents a
    // limit of 32K characters; Wine 8 writes at most 32,766 of a longer result and reports either
    // the full size or one that matches the cut text, so a result that long may be cut.
    static constexpr size_t kLongestWholeExpansion = 32765;

    // ExpandEnvironmentStringsW on the whole text, or nullopt when it fails or its result may
    // have been cut at the platform's limit.
    static std::optional<std::wstring> ExpandAtOnce(const std::wstring& text) {
        // The needed size can grow between the two calls if the environment changes; retry.
        std::wstring buffer;
        DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
        while (needed != 0) {
            buffer.assign(needed, L'\0');
            DWORD written = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), needed);
            if (written == 0) break;
            if (written <= needed) {
                buffer.resize(written - 1);
                if (buffer.size() > kLongestWholeExpansion || wcslen(buffer.c_str()) != buffer.size()) break;
                return buffer;
            }
            needed = written;
        }
        return std::nullopt;
    }

    // The expansion of a text beyond the platform's limit, one piece at a time: the text between
    // references is copied as it is, and each %NAME% reference (from one '%' to the next, as the
    // platform pairs them) is expanded on its own, which only a variable longer than the limit
    // can fail. nullopt when a piece cannot be expanded whole.
    static std::optional<std::wstring> ExpandReferenceByReference(const std::wstring& text) {
        const std::wstring_view source(text.c_str());  // the platform reads up to the first NUL
        std::wstring result;
        size_t at = 0;
        while (at < source.size()) {
            const size_t open = source.find(L'%', at);
            const size_t close = open == std::wstring_view::npos ? open : source.find(L'%', open + 1);
            if (close == std::wstring_view::npos) {
                result.append(source.substr(at));
                break;
            }
            result.append(source.substr(at, open - at));
            const auto piece = ExpandAtOnce(std::wstring(source.substr(open, close + 1 - open)));
            if (!piece) return std::nullopt;
            result += *piece;
            at = close + 1;
        }
        return result;
    }

    static std::wstring SettingsPath(const std::wstring& application, const std::wstring& section) {
        return L"Software\\VB and VBA Program Settings\\" + application + L"\\" + section;
    }
};

Platform* g_current = nullptr;

}  // namespace

Platform& Win32() {
    static Win32Platform real;
    return real;
}

Platform& Current() { return g_current ? *g_current : Win32(); }

ScopedPlatform::ScopedPlatform(Platform& substitute) : previous_(g_current) {
    g_current = &substitute;
}

ScopedPlatform::~ScopedPlatform() { g_current = previous_; }

}  // namespace zolbex::platform
