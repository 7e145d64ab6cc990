// Listing value names and sub-key names into a caller's 1-based array and count.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "library/bstr.h"
#include "platform/platform.h"
#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

enum class Listing { Values, Sections };

// A listing as the caller sees it afterwards.
struct Listed {
    HRESULT hr = E_FAIL;
    VARIANT_BOOL result = VARIANT_FALSE;
    LONG count = -1;
    SAFEARRAY* array = nullptr;
    std::vector<std::wstring> names;
};

// Calls the listing with a caller's array and count that already hold something.
Listed List(RegistryObject* registry, Listing listing, const std::vector<std::wstring>& oldNames = {L"old1", L"old2"},
            LONG oldCount = 7) {
    Listed listed;
    SAFEARRAYBOUND bound{static_cast<ULONG>(oldNames.size()), 0};
    listed.array = oldNames.empty() ? nullptr : SafeArrayCreate(VT_BSTR, 1, &bound);
    for (LONG i = 0; i < static_cast<LONG>(oldNames.size()); ++i)
        SafeArrayPutElement(listed.array, &i, Bstr(oldNames[i]).Get());
    listed.count = oldCount;
    listed.hr = listing == Listing::Values
                    ? registry->EnumerateValues(&listed.array, &listed.count, &listed.result)
                    : registry->EnumerateSections(&listed.array, &listed.count, &listed.result);
    listed.names = NamesOf(listed.array);
    if (listed.array) {
        EXPECT_EQ(BoundsOf(listed.array), std::make_pair(1L, listed.count)) << "bounds 1 to the count";
        SafeArrayDestroy(listed.array);
    }
    return listed;
}

// Names in the order the registry hands them out.
std::vector<std::wstring> RawOrder(const std::wstring& path, Listing listing) {
    std::vector<std::wstring> names;
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    wchar_t name[1024];
    for (DWORD i = 0;; ++i) {
        DWORD length = 1024;
        LONG result = listing == Listing::Values
                          ? RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr)
                          : RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

class RegistryEnumerationTest : public RegistryTest {};

// Values, the unnamed one listed as an empty name; sub-keys whatever their name length, up to
// the 255 characters the registry allows (the buffer needs one place more for a terminator).
TEST_F(RegistryEnumerationTest, NamesInRegistryOrder) {
    const std::vector<std::wstring> valueNames = {L"Path", L"TEMP", L"", L"\u65e5\u672c \u20ac"};
    const std::vector<std::wstring> subKeyNames = {L"first", std::wstring(255, L'k'), L"\u00e9t\u00e9 \u65e5"};
    for (const std::wstring& name : valueNames) PutRaw(Path(), name, REG_SZ, TextBytes(L"x"));
    for (const std::wstring& name : subKeyNames) MakeRawKey(Path(name));
    const std::pair<Listing, std::vector<std::wstring>> cases[] = {{Listing::Values, valueNames},
                                                                   {Listing::Sections, subKeyNames}};
    for (const auto& [listing, expected] : cases) {
        Registry registry = At();
        Listed listed = List(registry.Get(), listing);
        ASSERT_EQ(listed.hr, S_OK);
        EXPECT_EQ(listed.result, VARIANT_TRUE);
        EXPECT_EQ(listed.count, static_cast<LONG>(expected.size()));
        EXPECT_EQ(listed.names, RawOrder(Path(), listing));
        EXPECT_EQ(Sorted(listed.names), Sorted(expected));
    }
}

TEST_F(RegistryEnumerationTest, NothingToListGivesCountZeroAndNoArray) {
    MakeRawKey(Path(L"empty"));
    const LocationCase cases[] = {
        {"key without values or sub-keys", kCurrentUser, Path(L"empty")},
        {"missing key", kCurrentUser, Path(L"absent")},
        {"no root", 0, L""},
    };
    for (const LocationCase& c : cases) {
        for (Listing listing : {Listing::Values, Listing::Sections}) {
            SCOPED_TRACE(c.what);
            Registry registry = Pointed(c);
            Listed listed = List(registry.Get(), listing);
            EXPECT_EQ(listed.hr, S_OK);
            EXPECT_EQ(listed.result, VARIANT_TRUE);
            EXPECT_EQ(listed.count, 0);
            EXPECT_TRUE(listed.names.empty());
        }
    }
}

TEST_F(RegistryEnumerationTest, WhatTheCallerHeldIsReplacedNeverAppendedTo) {
    PutRaw(Path(), L"only", REG_SZ, TextBytes(L"x"));
    MakeRawKey(Path(L"sub"));
    Registry registry = At();
    const std::vector<std::wstring> held = {L"a", L"b", L"c"};
    EXPECT_EQ(List(registry.Get(), Listing::Values, held, 7).names, std::vector<std::wstring>{L"only"});
    EXPECT_EQ(List(registry.Get(), Listing::Sections, held, 7).names, std::vector<std::wstring>{L"sub"});
}

// A sub-key whose name is longer than the registry's usual limit (possible through the native
// API): the name buffer must grow rather than end the listing.
class LongSubKeyName : public ForwardingPlatform {
public:
    const std::wstring name = std::wstring(300, L'n');
    LONG EnumKeyName(HKEY, DWORD index, wchar_t* buffer, DWORD* length) override {
        if (index > 0) return ERROR_NO_MORE_ITEMS;
        if (*length <= name.size()) return ERROR_MORE_DATA;
        std::copy(name.begin(), name.end(), buffer);
        buffer[name.size()] = L'\0';
        *length = static_cast<DWORD>(name.size());
        return ERROR_SUCCESS;
    }
};

TEST_F(RegistryEnumerationTest, ASubKeyNameOf300CharactersIsListed) {
    LongSubKeyName platform;
    platform::ScopedPlatform scoped(platform);
    Registry registry = At();
    Listed listed = List(registry.Get(), Listing::Sections);
    EXPECT_EQ(listed.count, 1);
    EXPECT_EQ(listed.names, std::vector<std::wstring>{platform.name});
}

TEST_F(RegistryEnumerationTest, ValueListingEndsQuietlyAtTheFirstFailure) {
    for (const wchar_t* name : {L"a", L"b", L"c"}) PutRaw(Path(), name, REG_SZ, TextBytes(L"x"));
    Registry registry = At();
    {
        CountingPlatform unqueryable;
        unqueryable.queryKeyInfoResult = ERROR_ACCESS_DENIED;
        platform::ScopedPlatform scoped(unqueryable);
        Listed listed = List(registry.Get(), Listing::Values);
        EXPECT_EQ(listed.result, VARIANT_TRUE);
        EXPECT_EQ(listed.count, 0);
    }
    class FailingSecondName : public ForwardingPlatform {
    public:
        LONG EnumValueName(HKEY key, DWORD index, wchar_t* name, DWORD* length) override {
            return index == 1 ? ERROR_ACCESS_DENIED : real().EnumValueName(key, index, name, length);
        }
    } failing;
    platform::ScopedPlatform scoped(failing);
    Listed listed = List(registry.Get(), Listing::Values);
    EXPECT_EQ(listed.result, VARIANT_TRUE);
    EXPECT_EQ(listed.count, 1);
}

TEST_F(RegistryEnumerationTest, AFailureWhileListingSubKeysIsRaisedWithWhatWasGathered) {
    for (const wchar_t* name : {L"a", L"b", L"c"}) MakeRawKey(Path(name));
    CountingPlatform failing;
    failing.beforeEnumKey = [](DWORD index) {
        if (index == 1) throw std::bad_alloc();
    };
    platform::ScopedPlatform scoped(failing);
    Registry registry = At();
    SAFEARRAY* array = nullptr;
    LONG count = 7;
    VARIANT_BOOL result = VARIANT_FALSE;
    ErrorSeen error = LastError(registry->EnumerateSections(&array, &count, &result));
    EXPECT_EQ(error.number, -2147194454);
    EXPECT_EQ(error.source, L"zolbex11.cRegistry");
    EXPECT_EQ(error.description, L"Out of memory");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(NamesOf(array).size(), 1u);
    SafeArrayDestroy(array);
    EXPECT_EQ(failing.opened, failing.closed);
}

}  // namespace
}  // namespace zolbex
