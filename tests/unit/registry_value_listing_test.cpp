// Every value of a key with its name, each name and data from one registry call: the listing the
// stored environment scopes build on. It must give exactly what reading each value by name gives,
// however the platform fills the buffer around string data, and read a value that grows
// between two calls whole.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "library/bstr.h"
#include "platform/platform.h"
#include "platform_buffers.h"
#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

struct Listed {
    std::wstring name;
    Variant value;
};

std::vector<Listed> ListAll(RegistryObject* registry) {
    std::vector<Listed> listed;
    registry->ReadEachValue([&](const std::wstring& name, Variant value) { listed.push_back({name, std::move(value)}); });
    return listed;
}

// The value as its type shows it: text, a number, or bytes.
std::wstring Shown(const Variant& value) {
    switch (value.Type()) {
        case VT_BSTR: return L"text:" + std::wstring(Bstr::ViewOf(V_BSTR(value.Get())));
        case VT_I4: return L"long:" + std::to_wstring(V_I4(value.Get()));
        case VT_ARRAY | VT_UI1: {
            std::wstring shown = L"bytes:";
            for (BYTE b : BytesOf(*value.Get())) shown += std::to_wstring(b) + L",";
            return shown;
        }
        default: return L"type " + std::to_wstring(value.Type());
    }
}

struct StoredCase {
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> bytes;
};

class RegistryValueListingTest : public RegistryTest {};

TEST_F(RegistryValueListingTest, ListsWhatReadingEachValueGivesInOneCallPerValue) {
    std::vector<BYTE> unterminated = TextBytes(L"abc", false);
    const std::vector<StoredCase> stored = {
        {L"terminated", REG_SZ, TextBytes(L"C:\\Tools")},
        {L"unterminated", REG_SZ, unterminated},
        {L"embedded NUL", REG_SZ, TextBytes(std::wstring(L"a\0b", 3))},
        {L"empty", REG_SZ, {}},
        {L"longer than the first buffer", REG_SZ, TextBytes(std::wstring(3000, L'x') + L"end")},
        {L"expandable", REG_EXPAND_SZ, TextBytes(L"%WINDIR%\\System32")},
        {L"multi-string", REG_MULTI_SZ, TextBytes(std::wstring(L"a\0b\0", 4))},
        {L"number", REG_DWORD, LongBytes(42)},
        {L"bytes", REG_BINARY, {1, 2, 3}},
        {std::wstring(300, L'n').c_str(), REG_SZ, TextBytes(L"long name")},
    };
    for (const StoredCase& c : stored) PutRaw(Path(), c.name, c.type, c.bytes);

    for (VARIANT_BOOL expand : {VARIANT_FALSE, VARIANT_TRUE}) {
        for (BufferBehaviour behaviour : kEveryBufferBehaviour) {
            SCOPED_TRACE(std::string(NameOf(behaviour)) + (expand ? ", expanded" : ", not expanded"));
            std::vector<Listed> listed;
            int enumerations = 0, queries = 0;
            {
                struct Counted : PlatformBuffers {
                    using PlatformBuffers::PlatformBuffers;
                    int enumerations = 0, queries = 0;
                    LONG EnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data,
                                   DWORD* size) override {
                        ++enumerations;
                        return PlatformBuffers::EnumValue(key, index, name, length, type, data, size);
                    }
                    LONG QueryValue(HKEY key, const std::wstring& name, DWORD* type, BYTE* data,
                                    DWORD* size) override {
                        ++queries;
                        return PlatformBuffers::QueryValue(key, name, type, data, size);
                    }
                } buffers(behaviour);
                platform::ScopedPlatform scoped(buffers);
                Registry registry = At();
                registry->SetExpandEnv(expand);
                listed = ListAll(registry.Get());
                enumerations = buffers.enumerations;
                queries = buffers.queries;
            }
            ASSERT_EQ(listed.size(), stored.size());
            // One call per value, one more for the end, the long value once more at its size.
            EXPECT_EQ(enumerations, static_cast<int>(stored.size()) + 2);
            EXPECT_EQ(queries, 0);
            for (const Listed& entry : listed) {
                SCOPED_TRACE("value " + std::to_string(&entry - listed.data()));
                Registry byName = At(L"", entry.name);
                byName->SetExpandEnv(expand);
                EXPECT_EQ(Shown(entry.value), Shown(byName->Read()));
            }
        }
    }
}

// A value that grows between the call that reports its size and the call at that size is read
// again at its new size: never a partly filled buffer.
TEST_F(RegistryValueListingTest, AValueThatGrowsWhileBeingListedIsReadWhole) {
    const std::wstring before(2000, L'a'), after = std::wstring(5000, L'b') + L"end";
    PutRaw(Path(), L"v", REG_SZ, TextBytes(before));
    CountingPlatform growing;
    growing.beforeEnumValue = [&](DWORD) {
        if (growing.valueEnumerations == 2) PutRaw(Path(), L"v", REG_SZ, TextBytes(after));
    };
    std::vector<Listed> listed;
    {
        platform::ScopedPlatform scoped(growing);
        listed = ListAll(At().Get());
    }
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(Shown(listed[0].value), L"text:" + after);
    EXPECT_GE(growing.valueEnumerations, 4) << "the second call did not see the value grow";
    EXPECT_EQ(growing.valueQueries, 0);
}

}  // namespace
}  // namespace zolbex
