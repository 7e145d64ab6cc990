// zolbex11_regcapture DLL: runs the DLL's own DllRegisterServer with HKEY_LOCAL_MACHINE pointed
// at a scratch key of the current user, prints every value it wrote below Software\Classes, one
// line each as KEY<tab>NAME<tab>DATA (UTF-8, NAME empty for a key's default value), and deletes
// the scratch key again. The machine's own registry is never written: the package build reads
// the library's registration this way instead of keeping a second list of its keys.
// Exit status: 0 done, 1 the DLL failed or wrote something other than text, 2 usage.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// A key of the capture's own, closed on every path.
class Key {
public:
    Key() = default;
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Put() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

// A tab or line break in a name or value would break the line format: such a value is refused.
bool Printable(const std::wstring& text) { return text.find_first_of(L"\t\r\n") == std::wstring::npos; }

// Prints the values of the key at `path` below `root` and of every key below it.
bool PrintTree(HKEY root, const std::wstring& path) {
    Key key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Put()) != ERROR_SUCCESS) return false;
    bool ok = true;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384, type = 0, size = 0;
        LONG status = RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return false;
        std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
        nameLength = 16384;
        status = RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type,
                               reinterpret_cast<BYTE*>(data.data()), &size);
        if (status != ERROR_SUCCESS) return false;
        data.resize(wcsnlen(data.c_str(), size / sizeof(wchar_t)));
        if (type != REG_SZ || !Printable(name) || !Printable(data)) {
            std::fprintf(stderr, "zolbex11_regcapture: %s\\%s is not a plain text value\n",
                         Utf8(path).c_str(), Utf8(name).c_str());
            ok = false;
            continue;
        }
        std::printf("%s\t%s\t%s\n", Utf8(path).c_str(), Utf8(name).c_str(), Utf8(data).c_str());
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        LONG status = RegEnumKeyExW(key.Get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return false;
        ok = PrintTree(root, path.empty() ? std::wstring(name) : path + L"\\" + name) && ok;
    }
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zolbex11_regcapture DLL\n");
        return 2;
    }
    const std::wstring scratchPath = L"Software\\zolbex11-registration-capture-" + std::to_wstring(GetCurrentProcessId());
    Key scratch;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, scratch.Put(), nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "zolbex11_regcapture: cannot make the scratch key\n");
        return 1;
    }
    int result = 1;
    if (HMODULE dll = LoadLibraryW(argv[1])) {
        using Entry = HRESULT(STDAPICALLTYPE*)();
        auto registerServer = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dll, "DllRegisterServer")));
        if (!registerServer) {
            std::fprintf(stderr, "zolbex11_regcapture: the DLL exports no DllRegisterServer\n");
        } else if (RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch.Get()) != ERROR_SUCCESS) {
            std::fprintf(stderr, "zolbex11_regcapture: cannot redirect HKEY_LOCAL_MACHINE\n");
        } else {
            const HRESULT hr = registerServer();
            RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
            if (FAILED(hr))
                std::fprintf(stderr, "zolbex11_regcapture: DllRegisterServer failed (0x%08lX)\n", static_cast<unsigned long>(hr));
            else {
                Key classes;
                if (RegOpenKeyExW(scratch.Get(), L"Software\\Classes", 0, KEY_READ, classes.Put()) == ERROR_SUCCESS &&
                    PrintTree(classes.Get(), L""))
                    result = 0;
            }
        }
        FreeLibrary(dll);
    } else {
        std::fprintf(stderr, "zolbex11_regcapture: cannot load the DLL (error %lu)\n", GetLastError());
    }
    RegDeleteTreeW(scratch.Get(), nullptr);
    RegDeleteKeyW(HKEY_CURRENT_USER, scratchPath.c_str());
    return result;
}
