// clsZolbexENVRegistryA: a registry location (root, key path, value name) with operations on it.
// Every operation opens the key it needs and closes it again within the call.
//
// Other classes of the library may use the object directly in C++ (the environment scopes own
// one each): the location and settings accessors and Read/Write/List* below are the same
// operations the COM members perform.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

#include "library/dispatch_object.h"
#include "library/variant.h"
#include "registry/registry_location.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

class RegistryObject final : public DispatchObject<_clsZolbexENVRegistryA> {
public:
    RegistryObject() = default;

    // ---- State -------------------------------------------------------------------------
    LONG ClassKey() const { return location_.classKey; }
    void SetClassKey(LONG classKey) { location_.classKey = classKey; }
    const std::wstring& SectionKey() const { return location_.sectionKey; }
    void SetSectionKey(std::wstring sectionKey) { location_.sectionKey = std::move(sectionKey); }
    const std::wstring& ValueKey() const { return location_.valueKey; }
    void SetValueKey(std::wstring valueKey) { location_.valueKey = std::move(valueKey); }
    // The type the next write uses; every successful read sets it to the stored type.
    LONG ValueType() const { return valueType_; }
    void SetValueType(LONG valueType) { valueType_ = valueType; }
    // Expandable texts are expanded on reading only when this is exactly True (-1).
    void SetExpandEnv(VARIANT_BOOL expand) { expandEnv_ = expand; }
    // What a read returns when the value cannot be read. Setting it is a value assignment.
    void SetDefaultValue(const VARIANT& value);

    // ---- Key operations (key_operations.cpp) ------------------------------------------
    bool Exists() const;  // can the key be opened for reading; never raises
    void CreateSection() const;
    void DeleteSection() const;
    void RemoveValue() const;

    // ---- Values (value_read.cpp, value_write.cpp) --------------------------------------
    Variant Read();
    void Write(const VARIANT& value) const;

    // ---- Listings (enumeration.cpp), in registry order ---------------------------------
    std::vector<std::wstring> ListValueNames() const;
    // Every value of the key with its name, as Read() gives it, each name and data read in one
    // registry call; the listing ends at the first value that cannot be read.
    void ReadEachValue(const std::function<void(const std::wstring& name, Variant value)>& take) const;
    // Appends the sub-key names to `names`, so a failure leaves what was gathered before it.
    void ListSectionNames(std::vector<std::wstring>& names) const;

    // ---- _clsZolbexENVRegistryA ---------------------------------------------------------
    HRESULT STDMETHODCALLTYPE get_KeyExists(VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE CreateKey(VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE DeleteKey(VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE DeleteValue(VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE ReadKey(BSTR* valueKey, BSTR* sectionKey, LONG* classKey, VARIANT* defaultValue,
                                      VARIANT* pRetVal) override;
    HRESULT STDMETHODCALLTYPE get_Value(VARIANT* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_Value(VARIANT vNewValue) override;
    HRESULT STDMETHODCALLTYPE EnumerateValues(SAFEARRAY** sKeyNames, LONG* iKeyCount, VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE EnumerateSections(SAFEARRAY** sSect, LONG* iSectCount, VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE CreateEXEAssociation(BSTR sExePath, BSTR sClassName, BSTR sClassDescription,
                                                   BSTR sAssociation, BSTR sOpenMenuText, VARIANT_BOOL bSupportPrint,
                                                   BSTR sPrintMenuText, VARIANT_BOOL bSupportNew, BSTR sNewMenuText,
                                                   VARIANT_BOOL bSupportInstall, BSTR sInstallMenuText,
                                                   LONG lDefaultIconIndex) override;
    HRESULT STDMETHODCALLTYPE CreateAdditionalEXEAssociations(BSTR sClassName, SAFEARRAY** vItems) override;
    HRESULT STDMETHODCALLTYPE get_ValueType(LONG* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_ValueType(LONG lNewValue) override;
    HRESULT STDMETHODCALLTYPE get_ClassKey(LONG* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_ClassKey(LONG lNewValue) override;
    HRESULT STDMETHODCALLTYPE get_SectionKey(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_SectionKey(BSTR sNewValue) override;
    HRESULT STDMETHODCALLTYPE get_ValueKey(BSTR* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_ValueKey(BSTR sNewValue) override;
    HRESULT STDMETHODCALLTYPE get_Default(VARIANT* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_Default(VARIANT vNewValue) override;
    HRESULT STDMETHODCALLTYPE WriteKey(VARIANT* value, BSTR* valueKey, BSTR* sectionKey, LONG* classKey) override;
    HRESULT STDMETHODCALLTYPE get_ExpandEnv(VARIANT_BOOL* pRetVal) override;
    HRESULT STDMETHODCALLTYPE put_ExpandEnv(VARIANT_BOOL bNewValue) override;

private:
    RegistryLocation location_;
    LONG valueType_ = REG_NONE;
    VARIANT_BOOL expandEnv_ = VARIANT_FALSE;
    Variant default_;
};

}  // namespace zolbex
