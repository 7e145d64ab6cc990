#include "library/registration.h"

#include <cstring>
#include <string>
#include <vector>

#include "library/catalogue.h"
#include "library/errors.h"
#include "library/module.h"

namespace zolbex {
namespace {

// The automation marshaler: calls between apartments are marshalled from the type library.
constexpr wchar_t kAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";

// The type library's platform entry of this DLL's pointer size.
constexpr const wchar_t* kPlatform = sizeof(void*) == 8 ? L"win64" : L"win32";

// The registry view of the other pointer size's DLL. A 32-bit process on 32-bit Windows has
// only one view, where the flag is ignored.
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

struct KeyValue {
    std::wstring path;   // below the classes root
    std::wstring name;   // empty: the default value
    std::wstring value;
};

std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring VersionText(const catalogue::Library& lib) {
    return std::to_wstring(lib.major) + L"." + std::to_wstring(lib.minor);
}

std::wstring ProgId(const catalogue::Library& lib, const catalogue::Coclass& cls) {
    return Wide(lib.name) + L"." + Wide(cls.name);
}

std::wstring TypeLibKey(const catalogue::Library& lib) {
    return L"TypeLib\\" + GuidText(lib.libid);
}

// Every value registration writes, in order.
std::vector<KeyValue> Values(const catalogue::Library& lib) {
    const std::wstring path = module::Path();
    const std::wstring libid = GuidText(lib.libid);
    const std::wstring version = VersionText(lib);
    std::vector<KeyValue> values;

    const std::wstring tlb = TypeLibKey(lib) + L"\\" + version;
    std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    values.push_back({tlb, L"", Wide(lib.helpString)});
    values.push_back({tlb + L"\\0\\" + kPlatform, L"", path});
    values.push_back({tlb + L"\\FLAGS", L"", L"0"});
    values.push_back({tlb + L"\\HELPDIR", L"", folder});

    for (const catalogue::Coclass& cls : lib.coclasses) {
        if (!cls.Creatable()) continue;
        const std::wstring progId = ProgId(lib, cls);
        const std::wstring key = L"CLSID\\" + GuidText(cls.clsid);
        values.push_back({key, L"", progId});
        values.push_back({key + L"\\InprocServer32", L"", path});
        values.push_back({key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
        values.push_back({key + L"\\ProgID", L"", progId});
        values.push_back({key + L"\\TypeLib", L"", libid});
        values.push_back({key + L"\\Version", L"", version});
        values.push_back({progId, L"", Wide(cls.name)});
        values.push_back({progId + L"\\CLSID", L"", GuidText(cls.clsid)});
    }

    auto addInterface = [&](const GUID& iid, const char* name) {
        const std::wstring key = L"Interface\\" + GuidText(iid);
        values.push_back({key, L"", Wide(name)});
        values.push_back({key + L"\\ProxyStubClsid", L"", kAutomationProxy});
        values.push_back({key + L"\\ProxyStubClsid32", L"", kAutomationProxy});
        values.push_back({key + L"\\TypeLib", L"", libid});
        values.push_back({key + L"\\TypeLib", L"Version", version});
    };
    for (const catalogue::Interface& itf : lib.interfaces) addInterface(itf.iid, itf.name);
    for (const catalogue::Coclass& cls : lib.coclasses)
        if (cls.alias) addInterface(cls.alias->iid, cls.interfaceName);
    return values;
}

// On 64-bit Windows the 32-bit and the 64-bit DLL may both be registered, each in its own
// registry view. Since Windows 7 only the CLSID and Interface keys below a classes root are
// per view; ProgIDs and TypeLib are one key seen from both. So a DLL's own keys are its
// classes, its interfaces and its platform entry of the type library; the ProgIDs and the type
// library's version key are the library's, removed with the last class registered in either
// view.
std::vector<std::wstring> OwnKeys(const catalogue::Library& lib) {
    std::vector<std::wstring> keys{TypeLibKey(lib) + L"\\" + VersionText(lib) + L"\\0\\" + kPlatform};
    for (const catalogue::Coclass& cls : lib.coclasses)
        if (cls.Creatable()) keys.push_back(L"CLSID\\" + GuidText(cls.clsid));
    for (const catalogue::Interface& itf : lib.interfaces)
        keys.push_back(L"Interface\\" + GuidText(itf.iid));
    for (const catalogue::Coclass& cls : lib.coclasses)
        if (cls.alias) keys.push_back(L"Interface\\" + GuidText(cls.alias->iid));
    return keys;
}

// A raw key of registration's own, closed on every path.
class OwnedKey {
public:
    OwnedKey() = default;
    ~OwnedKey() {
        if (key_) RegCloseKey(key_);
    }
    OwnedKey(const OwnedKey&) = delete;
    OwnedKey& operator=(const OwnedKey&) = delete;
    HKEY* Put() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

HKEY ScopeBase(RegistrationScope scope) {
    return scope == RegistrationScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

LONG OpenClassesRoot(RegistrationScope scope, OwnedKey& root) {
    return RegCreateKeyExW(ScopeBase(scope), L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                           root.Put(), nullptr);
}

// True when the other view of `otherRoot` registers the class as an in-process server. The
// view flag goes with every open: a relative open does not take the view from its parent.
bool OtherViewRegisters(HKEY otherRoot, const catalogue::Coclass& cls) {
    if (!otherRoot) return false;
    OwnedKey server;
    const std::wstring path = L"CLSID\\" + GuidText(cls.clsid) + L"\\InprocServer32";
    return RegOpenKeyExW(otherRoot, path.c_str(), 0, KEY_QUERY_VALUE | kOtherView, server.Put()) == ERROR_SUCCESS;
}

LONG WriteValue(HKEY root, const KeyValue& entry) {
    OwnedKey key;
    LONG status = RegCreateKeyExW(root, entry.path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  key.Put(), nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExW(key.Get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(entry.value.c_str()),
                          static_cast<DWORD>((entry.value.size() + 1) * sizeof(wchar_t)));
}

// Deletes `path` below `root` with all it holds, in the registry view `view` names (0: this
// process's own).
LONG DeleteKeyTree(HKEY root, const std::wstring& path, REGSAM view = 0) {
    OwnedKey key;
    LONG status = RegOpenKeyExW(root, path.c_str(), 0, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE |
                                KEY_SET_VALUE | view, key.Put());
    if (status == ERROR_SUCCESS) status = RegDeleteTreeW(key.Get(), nullptr);
    if (status == ERROR_SUCCESS) status = RegDeleteKeyExW(root, path.c_str(), view, 0);
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

// Removes a key only when nothing is left in it (the library's TypeLib key may hold other
// versions).
void DeleteIfEmpty(HKEY root, const std::wstring& path) {
    DWORD subKeys = 0, values = 0;
    {
        OwnedKey key;
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS) return;
        if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return;
    }
    if (subKeys == 0 && values == 0) RegDeleteKeyW(root, path.c_str());
}

}  // namespace

HRESULT RegisterInto(HKEY classesRoot) {
    return Guarded(ErrorObject::LeaveAlone, [&] {
        // Every text is built before the first write.
        const std::vector<KeyValue> values = Values(catalogue::TheLibrary());
        for (const KeyValue& entry : values) {
            LONG status = WriteValue(classesRoot, entry);
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        }
        return S_OK;
    });
}

HRESULT UnregisterFrom(HKEY classesRoot, HKEY otherViewRoot) {
    return Guarded(ErrorObject::LeaveAlone, [&] {
        const catalogue::Library& lib = catalogue::TheLibrary();
        const std::vector<std::wstring> own = OwnKeys(lib);
        const std::wstring typeLibKey = TypeLibKey(lib);
        LONG first = ERROR_SUCCESS;
        auto remove = [&](HKEY root, const std::wstring& key, REGSAM view) {
            LONG status = DeleteKeyTree(root, key, view);
            if (first == ERROR_SUCCESS) first = status;
        };
        for (const std::wstring& key : own) remove(classesRoot, key, 0);

        // The library's keys go with the last class registered in either view, from both views:
        // where they are per view (Windows before 7 redirects all of HKLM's classes; Wine's
        // 64-bit processes see the 32-bit view so), the other DLL's unregistration left its copy.
        bool otherRegistersAny = false;
        for (const catalogue::Coclass& cls : lib.coclasses) {
            if (!cls.Creatable()) continue;
            if (OtherViewRegisters(otherViewRoot, cls)) {
                otherRegistersAny = true;
                continue;
            }
            const std::wstring progId = ProgId(lib, cls);
            remove(classesRoot, progId, 0);
            if (otherViewRoot) remove(otherViewRoot, progId, kOtherView);
        }
        if (!otherRegistersAny) {
            const std::wstring version = typeLibKey + L"\\" + VersionText(lib);
            remove(classesRoot, version, 0);
            if (otherViewRoot) remove(otherViewRoot, version, kOtherView);
        }
        DeleteIfEmpty(classesRoot, typeLibKey + L"\\" + VersionText(lib) + L"\\0");
        DeleteIfEmpty(classesRoot, typeLibKey);
        return first == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(first);
    });
}

HRESULT RegisterServer(RegistrationScope scope) {
    OwnedKey root;
    LONG status = OpenClassesRoot(scope, root);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    return RegisterInto(root.Get());
}

HRESULT UnregisterServer(RegistrationScope scope) {
    OwnedKey root;
    LONG status = OpenClassesRoot(scope, root);
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    // The classes root as the other view sees it; where it cannot be read, nothing else is
    // registered there.
    OwnedKey otherRoot;
    if (RegOpenKeyExW(ScopeBase(scope), L"Software\\Classes", 0, KEY_READ | kOtherView, otherRoot.Put()) !=
        ERROR_SUCCESS)
        return UnregisterFrom(root.Get(), nullptr);
    return UnregisterFrom(root.Get(), otherRoot.Get());
}

}  // namespace zolbex
