// EnumerateValues and EnumerateSections: the names of a key's values and of its sub-keys; and
// every value with its name, for the listings built on the registry object.
#include <cwchar>
#include <optional>

#include "platform/platform.h"
#include "platform/stored_data.h"
#include "registry/name_array.h"
#include "registry/registry_error.h"
#include "registry/registry_key.h"
#include "registry/registry_object.h"
#include "registry/stored_value.h"

namespace zolbex {
namespace {

// A sub-key name is at most 255 characters; a longer one (possible through the native API)
// still gets listed, with a buffer that doubles up to the longest name a key path can hold.
constexpr DWORD kSubKeyNameBuffer = 256;
constexpr DWORD kLongestNameBuffer = 32768;

}  // namespace

std::vector<std::wstring> RegistryObject::ListValueNames() const {
    std::vector<std::wstring> names;
    RegistryKey key;
    if (key.Open(location_.classKey, location_.sectionKey, kQueryAccess) != ERROR_SUCCESS) return names;
    platform::Platform& registry = platform::Current();
    DWORD longestSubKey = 0, longestName = 0;
    if (registry.QueryKeyInfo(key.Get(), &longestSubKey, &longestName) != ERROR_SUCCESS) return names;
    std::wstring buffer(longestName + 1, L'\0');
    // The buffer fits every name, so the first failing index, whatever its cause, ends the list.
    for (DWORD index = 0;; ++index) {
        DWORD length = longestName + 1;
        if (registry.EnumValueName(key.Get(), index, buffer.data(), &length) != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

void RegistryObject::ReadEachValue(const std::function<void(const std::wstring& name, Variant value)>& take) const {
    RegistryKey key;
    if (key.Open(location_.classKey, location_.sectionKey, kQueryAccess) != ERROR_SUCCESS) return;
    platform::Platform& registry = platform::Current();
    DWORD longestSubKey = 0, longestName = 0;
    if (registry.QueryKeyInfo(key.Get(), &longestSubKey, &longestName) != ERROR_SUCCESS) return;
    for (DWORD index = 0;; ++index) {
        std::optional<platform::NamedStoredData> value = platform::ReadEnumeratedData(registry, key.Get(), index, longestName);
        if (!value) return;
        take(value->name, VariantFromStored(value->data, expandEnv_ == VARIANT_TRUE));
    }
}

void RegistryObject::ListSectionNames(std::vector<std::wstring>& names) const {
    RegistryKey key;
    if (key.Open(location_.classKey, location_.sectionKey, kListSubKeysAccess) != ERROR_SUCCESS) return;
    platform::Platform& registry = platform::Current();
    std::wstring buffer(kSubKeyNameBuffer, L'\0');
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = registry.EnumKeyName(key.Get(), index, buffer.data(), &length);
        if (result == ERROR_MORE_DATA && buffer.size() < kLongestNameBuffer) {
            buffer.assign(buffer.size() * 2, L'\0');
            continue;  // the same sub-key again, with room for its name
        }
        if (result != ERROR_SUCCESS) return;  // past the last sub-key
        names.emplace_back(buffer.data(), wcsnlen(buffer.data(), length));
        ++index;
    }
}

HRESULT RegistryObject::EnumerateValues(SAFEARRAY** sKeyNames, LONG* iKeyCount, VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(sKeyNames);
        RequirePointer(iKeyCount);
        RequirePointer(pRetVal);
        ClearNames(sKeyNames, iKeyCount);
        StoreNames(ListValueNames(), sKeyNames, iKeyCount);
        *pRetVal = VARIANT_TRUE;
    });
}

HRESULT RegistryObject::EnumerateSections(SAFEARRAY** sSect, LONG* iSectCount, VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(sSect);
        RequirePointer(iSectCount);
        RequirePointer(pRetVal);
        // Every failure from here on is re-raised as a listing error; the caller then keeps the
        // names gathered before it.
        std::vector<std::wstring> names;
        std::wstring trapped;
        try {
            ClearNames(sSect, iSectCount);
            ListSectionNames(names);
            StoreNames(names, sSect, iSectCount);
            *pRetVal = VARIANT_TRUE;
            return;
        } catch (...) {
            trapped = CaughtError().Description();
        }
        try {
            StoreNames(names, sSect, iSectCount);
        } catch (...) {
            // Keep whatever the caller's array holds now; the listing error matters more.
        }
        RaiseListingFailed(trapped);
    });
}

}  // namespace zolbex
