// clsZolbexENVUserA and clsZolbexENVSystemA: the environment variables Windows keeps in the
// registry for the current user and for the machine. One implementation serves both; the twins
// differ only in their key and in the slot order of their interfaces.
//
// Each object owns one registry object aimed at its key and does all its registry work through
// it, so reading, writing, expansion and listing follow the registry object's rules exactly.
#include "environment/cached_listing.h"
#include "environment/value_pair.h"
#include "environment/value_pairs.h"
#include "environment/variable_text.h"
#include "library/bstr.h"
#include "library/class_table.h"
#include "library/dispatch_object.h"
#include "library/expansion_setting.h"
#include "platform/platform.h"
#include "platform/registry_names.h"
#include "registry/registry_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex {
namespace {

constexpr wchar_t kUserKey[] = L"Environment";
constexpr wchar_t kMachineKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

template <class Interface>
class StoredScope final : public DispatchObject<Interface> {
public:
    StoredScope(LONG root, const wchar_t* keyPath) : registry_(MakeObject<RegistryObject>()) {
        // The thread's expansion setting as it is now; a later change reaches new objects only.
        registry_->SetExpandEnv(ThreadExpansionSetting());
        registry_->SetClassKey(root);
        registry_->SetSectionKey(keyPath);
    }

    HRESULT STDMETHODCALLTYPE get_List(_clsZolbexENVValuePairsA** pRetVal) override {
        return listing_.HandOut(pRetVal, [&](ValuePairs& list) { FillList(list); });
    }

    HRESULT STDMETHODCALLTYPE get_Environment(BSTR strName, BSTR* pRetVal) override {
        return Guarded([&] {
            RequirePointer(pRetVal);
            *pRetVal = nullptr;
            registry_->SetValueKey(Bstr::Copy(strName).Str());
            *pRetVal = NewBstr(VariableText(*registry_->Read().Get()));  // missing: Default, Empty
        });
    }

    // Stored as REG_SZ, or REG_EXPAND_SZ when the text holds a reference (the registry object's
    // rule); every successful write is announced to all top-level windows, a failed one is not.
    HRESULT STDMETHODCALLTYPE put_Environment(BSTR strName, BSTR sNewValue) override {
        return Guarded([&] {
            registry_->SetValueKey(Bstr::Copy(strName).Str());
            registry_->SetValueType(REG_SZ);
            Variant text;
            V_BSTR(text.Get()) = NewBstr(Bstr::ViewOf(sNewValue));
            V_VT(text.Get()) = VT_BSTR;
            registry_->Write(*text.Get());
            platform::Current().BroadcastSettingChange(L"Environment");
        });
    }

private:
    void FillList(ValuePairs& list) {
        registry_->ReadEachValue([&](const std::wstring& name, Variant value) {
            // A name that repeats (ignoring case) is listed by position only.
            list.AddOrAppend(NewValuePair(name, VariableText(*value.Get())).Get(), name);
        });
    }

    // Declared first so that it is released last: the registry object goes before the listing.
    CachedListing listing_;
    ComPtr<RegistryObject> registry_;
};

}  // namespace

ComPtr<IDispatch> NewUserScope() {
    return ComPtr<IDispatch>(MakeObject<StoredScope<_clsZolbexENVUserA>>(kHkeyCurrentUser, kUserKey).Get());
}

ComPtr<IDispatch> NewSystemScope() {
    return ComPtr<IDispatch>(MakeObject<StoredScope<_clsZolbexENVSystemA>>(kHkeyLocalMachine, kMachineKey).Get());
}

}  // namespace zolbex
