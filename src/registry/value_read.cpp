// Value (get) and ReadKey: reading one registry value as a VARIANT, or Default when it cannot
// be read.
#include "library/variant_values.h"
#include "registry/location_override.h"
#include "registry/registry_error.h"
#include "registry/registry_key.h"
#include "registry/registry_object.h"
#include "registry/stored_value.h"

namespace zolbex {

Variant RegistryObject::Read() {
    std::optional<StoredValue> stored;
    {
        RegistryKey key;
        if (key.Open(location_.classKey, location_.sectionKey, kQueryAccess) == ERROR_SUCCESS)
            stored = ReadStoredValue(key.Get(), location_.valueKey);
    }
    if (!stored) return CopyOf(*default_.Get());
    valueType_ = static_cast<LONG>(stored->type);
    return VariantFromStored(*stored, expandEnv_ == VARIANT_TRUE);
}

HRESULT RegistryObject::get_Value(VARIANT* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        Read().Detach(pRetVal);
    });
}

HRESULT RegistryObject::ReadKey(BSTR* valueKey, BSTR* sectionKey, LONG* classKey, VARIANT* defaultValue,
                                VARIANT* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        LocationOverride override(location_, valueKey, sectionKey, classKey);
        std::optional<Variant> savedDefault;
        if (!IsOmitted(defaultValue)) {
            Variant newDefault = ValueOf(*defaultValue);
            savedDefault = std::move(default_);
            default_ = std::move(newDefault);
        }
        Variant value = Read();
        override.Restore();
        if (savedDefault) default_ = std::move(*savedDefault);
        value.Detach(pRetVal);
    });
}

}  // namespace zolbex
