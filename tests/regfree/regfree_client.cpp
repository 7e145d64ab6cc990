// Creates every creatable class of the library through the program's activation context alone:
// the program's manifest names the assembly zolbex11.sxs, whose manifest and DLL lie beside it,
// and nothing of the library is registered. For each class: the object is created from its
// CLSID and from its ProgID, its type information is that of the class's interface, and its
// first property without parameters (if it has one) answers. Prints REGFREE-OK when all passed.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "library/catalogue.h"

namespace {

using namespace zolbex::catalogue;

template <class T>
class Ref {
public:
    Ref() = default;
    ~Ref() {
        if (p_) p_->Release();
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* operator->() const { return p_; }
    T** Put() { return &p_; }

private:
    T* p_ = nullptr;
};

std::wstring Wide(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

int failures = 0;

void Fail(const char* cls, const char* what, HRESULT hr) {
    std::printf("FAIL %s: %s (0x%08lX)\n", cls, what, static_cast<unsigned long>(hr));
    ++failures;
}

// The library must not be registered: the test shows the activation context alone suffices.
bool Registered(const GUID& clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + text).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

const Member* FirstPlainProperty(const Interface& itf) {
    for (const Member& m : itf.members)
        if (m.kind == MemberKind::PropertyGet && m.params.empty()) return &m;
    return nullptr;
}

// Creates the object from `clsid` and checks that its type information is the class's interface.
bool Create(const Library& lib, const Coclass& cls, const CLSID& clsid, const char* how, Ref<IDispatch>& object) {
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, reinterpret_cast<void**>(object.Put()));
    if (FAILED(hr)) return Fail(cls.name, how, hr), false;
    Ref<ITypeInfo> info;
    hr = object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Put());
    if (FAILED(hr)) return Fail(cls.name, "GetTypeInfo", hr), false;
    TYPEATTR* attr = nullptr;
    hr = info->GetTypeAttr(&attr);
    if (FAILED(hr)) return Fail(cls.name, "GetTypeAttr", hr), false;
    const Interface* itf = lib.FindInterface(cls.interfaceName);
    const bool sameInterface = itf && IsEqualIID(attr->guid, itf->iid);
    info->ReleaseTypeAttr(attr);
    if (!sameInterface) return Fail(cls.name, "the type information is not the class's interface", S_OK), false;
    return true;
}

void CheckClass(const Library& lib, const Coclass& cls) {
    if (Registered(cls.clsid)) return Fail(cls.name, "the class is registered, so this proves nothing", S_OK);
    // Early-bound clients create from the CLSID; script clients from the ProgID, which an
    // activation context may resolve to a CLSID of its own that stands for the class.
    Ref<IDispatch> byClsid;
    if (!Create(lib, cls, cls.clsid, "CoCreateInstance with the CLSID", byClsid)) return;
    CLSID resolved{};
    const std::wstring progId = Wide(lib.name) + L"." + Wide(cls.name);
    HRESULT hr = CLSIDFromProgID(progId.c_str(), &resolved);
    if (FAILED(hr)) return Fail(cls.name, "CLSIDFromProgID", hr);
    Ref<IDispatch> byProgId;
    if (!Create(lib, cls, resolved, "CoCreateInstance with the ProgID's CLSID", byProgId)) return;

    const Member* property = FirstPlainProperty(*lib.FindInterface(cls.interfaceName));
    if (property) {
        DISPPARAMS none{};
        VARIANT result;
        VariantInit(&result);
        hr = byProgId->Invoke(property->dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                              nullptr, nullptr);
        VariantClear(&result);
        if (FAILED(hr)) return Fail(cls.name, property->name, hr);
    }
    std::printf("%s: created from its CLSID and its ProgID, %s answered\n", cls.name,
                property ? property->name : "GetTypeInfo");
}

}  // namespace

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::printf("FAIL CoInitializeEx\n");
        return 1;
    }
    const Library& lib = TheLibrary();
    int classes = 0;
    for (const Coclass& cls : lib.coclasses) {
        if (!cls.Creatable()) continue;
        ++classes;
        CheckClass(lib, cls);
    }
    CoUninitialize();
    if (failures == 0) std::printf("%d classes created without registration\nREGFREE-OK\n", classes);
    return failures == 0 ? 0 : 1;
}
