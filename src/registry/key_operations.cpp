// KeyExists, CreateKey, DeleteKey and DeleteValue: the key operations of the registry object.
#include "platform/platform.h"
#include "registry/registry_error.h"
#include "registry/registry_key.h"
#include "registry/registry_object.h"

namespace zolbex {

bool RegistryObject::Exists() const {
    RegistryKey key;
    return key.Open(location_.classKey, location_.sectionKey, kQueryAccess) == ERROR_SUCCESS;
}

void RegistryObject::CreateSection() const {
    RegistryKey key;
    if (key.Create(location_.classKey, location_.sectionKey, kWriteAccess) != ERROR_SUCCESS)
        RaiseCreateKeyFailed(location_);
}

void RegistryObject::DeleteSection() const {
    if (platform::Current().DeleteKey(RootHandle(location_.classKey), location_.sectionKey) != ERROR_SUCCESS)
        RaiseDeleteKeyFailed(location_);
}

void RegistryObject::RemoveValue() const {
    RegistryKey key;
    if (key.Open(location_.classKey, location_.sectionKey, kWriteAccess) != ERROR_SUCCESS)
        RaiseOpenForDeleteFailed(location_);
    LONG result = platform::Current().DeleteValue(key.Get(), location_.valueKey);
    key.Close();
    if (result != ERROR_SUCCESS) RaiseDeleteValueFailed(location_);
}

HRESULT RegistryObject::get_KeyExists(VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = Exists() ? VARIANT_TRUE : VARIANT_FALSE;
    });
}

HRESULT RegistryObject::CreateKey(VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        CreateSection();
        *pRetVal = VARIANT_TRUE;
    });
}

HRESULT RegistryObject::DeleteKey(VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        DeleteSection();
        *pRetVal = VARIANT_TRUE;
    });
}

HRESULT RegistryObject::DeleteValue(VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        RemoveValue();
        *pRetVal = VARIANT_TRUE;
    });
}

}  // namespace zolbex
