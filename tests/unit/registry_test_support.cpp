#include "registry_test_support.h"

#include <oleauto.h>

#include <cstring>

#include "library/dispatch_object.h"

namespace zolbex::testing {

void PutRaw(const std::wstring& path, const std::wstring& name, DWORD type, const std::vector<BYTE>& bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    // Non-NUL bytes after the counted ones: the registry adds a terminator that a text's bytes
    // lack when the unit after them happens to be NUL, and the tests store exact bytes.
    std::vector<BYTE> padded = bytes;
    padded.insert(padded.end(), {0xFF, 0xFF, 0xFF});
    EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, padded.data(), static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::optional<RawValue> GetRaw(const std::wstring& path, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        value.bytes.resize(size);
        result = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
        value.bytes.resize(size);
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    return value;
}

bool RawKeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void MakeRawKey(const std::wstring& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

std::vector<BYTE> TextBytes(const std::wstring& text, bool terminated) {
    const size_t units = text.size() + (terminated ? 1 : 0);
    std::vector<BYTE> bytes(units * sizeof(wchar_t));
    std::memcpy(bytes.data(), text.c_str(), bytes.size());
    return bytes;
}

std::vector<BYTE> LongBytes(DWORD value) {
    std::vector<BYTE> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Variant ByteArray(const std::vector<BYTE>& bytes, LONG lowerBound) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), lowerBound};
    Variant v;
    V_ARRAY(v.Get()) = SafeArrayCreate(VT_UI1, 1, &bound);
    V_VT(v.Get()) = VT_ARRAY | VT_UI1;
    if (!bytes.empty()) std::memcpy(V_ARRAY(v.Get())->pvData, bytes.data(), bytes.size());
    return v;
}

std::vector<BYTE> BytesOf(const VARIANT& byteArray) {
    EXPECT_EQ(V_VT(&byteArray), VT_ARRAY | VT_UI1);
    if (V_VT(&byteArray) != (VT_ARRAY | VT_UI1) || !V_ARRAY(&byteArray)) return {};
    SAFEARRAY* array = V_ARRAY(&byteArray);
    const BYTE* data = static_cast<const BYTE*>(array->pvData);
    return std::vector<BYTE>(data, data + array->rgsabound[0].cElements);
}

std::pair<LONG, LONG> BoundsOf(SAFEARRAY* array) {
    LONG lower = 0, upper = 0;
    EXPECT_EQ(SafeArrayGetDim(array), 1u);
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    return {lower, upper};
}

std::vector<std::wstring> NamesOf(SAFEARRAY* bstrArray) {
    std::vector<std::wstring> names;
    if (!bstrArray) return names;
    auto [lower, upper] = BoundsOf(bstrArray);
    for (LONG i = lower; i <= upper; ++i) {
        BSTR name = nullptr;
        EXPECT_EQ(SafeArrayGetElement(bstrArray, &i, &name), S_OK);
        names.emplace_back(Bstr::ViewOf(name));
        SysFreeString(name);
    }
    return names;
}

void RegistryTest::SetUp() {
    ComTest::SetUp();
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    MakeRawKey(kScratch);
}

void RegistryTest::TearDown() {
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, kScratch), ERROR_SUCCESS);
    ComTest::TearDown();
}

std::wstring RegistryTest::Path(const std::wstring& below) {
    return below.empty() ? std::wstring(kScratch) : std::wstring(kScratch) + L"\\" + below;
}

Registry RegistryTest::At(const std::wstring& below, const std::wstring& valueKey) {
    return Pointed(kCurrentUser, Path(below), valueKey);
}

Registry RegistryTest::Pointed(LONG classKey, const std::wstring& section, const std::wstring& valueKey) {
    Registry registry = MakeObject<RegistryObject>();
    registry->SetClassKey(classKey);
    registry->SetSectionKey(section);
    registry->SetValueKey(valueKey);
    return registry;
}

LONG CountingPlatform::OpenKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    accesses.push_back(access);
    LONG result = real().OpenKey(root, path, access, key);
    if (result == ERROR_SUCCESS) ++opened;
    return result;
}

LONG CountingPlatform::CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) {
    accesses.push_back(access);
    LONG result = real().CreateKey(root, path, access, key);
    if (result == ERROR_SUCCESS) ++opened;
    return result;
}

LONG CountingPlatform::CloseKey(HKEY key) {
    ++closed;
    return real().CloseKey(key);
}

LONG CountingPlatform::QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data, DWORD* size) {
    ++valueQueries;
    if (beforeQueryValue) beforeQueryValue();
    return real().QueryValue(key, name, type, data, size);
}

LONG CountingPlatform::SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) {
    if (setValueResult) return *setValueResult;
    return real().SetValue(key, name, type, data, size);
}

LONG CountingPlatform::QueryKeyInfo(HKEY key, DWORD* maxSubKeyLength, DWORD* maxValueNameLength) {
    if (queryKeyInfoResult) return *queryKeyInfoResult;
    return real().QueryKeyInfo(key, maxSubKeyLength, maxValueNameLength);
}

LONG CountingPlatform::EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) {
    ++valueEnumerations;
    if (beforeEnumValue) beforeEnumValue(index);
    return real().EnumValueName(key, index, name, length);
}

LONG CountingPlatform::EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                                 DWORD* size) {
    ++valueEnumerations;
    if (beforeEnumValue) beforeEnumValue(index);
    return real().EnumValue(key, index, name, length, type, data, size);
}

LONG CountingPlatform::EnumKeyName(HKEY key, DWORD index, wchar_t* name, DWORD* length) {
    if (beforeEnumKey) beforeEnumKey(index);
    return real().EnumKeyName(key, index, name, length);
}

}  // namespace zolbex::testing
