// Reading values: stored type and bytes to the VARIANT a read returns, Default for what cannot
// be read, expansion, and ReadKey's override-and-restore rule.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/errors.h"
#include "library/bstr.h"
#include "platform/platform.h"
#include "platform_buffers.h"
#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

Variant ReadValue(RegistryObject* registry) {
    Variant value;
    EXPECT_EQ(registry->get_Value(value.Put()), S_OK);
    return value;
}

std::wstring TextOf(const Variant& value) {
    EXPECT_EQ(value.Type(), VT_BSTR);
    return value.Type() == VT_BSTR ? std::wstring(Bstr::ViewOf(V_BSTR(value.Get()))) : std::wstring();
}

// A text's units without a terminator, followed by `extraBytes` NUL bytes.
std::vector<BYTE> UnterminatedTextBytes(const std::wstring& text, size_t extraBytes) {
    std::vector<BYTE> bytes = TextBytes(text, false);
    bytes.resize(bytes.size() + extraBytes);
    return bytes;
}

struct TextCase {
    const char* what;
    DWORD type;
    std::vector<BYTE> stored;
    std::wstring expected;
};

class RegistryReadTest : public RegistryTest {};

TEST_F(RegistryReadTest, TextValuesDropOneTerminatorAndKeepEmbeddedNuls) {
    const std::vector<TextCase> cases = {
        {"abc and terminator", REG_SZ, TextBytes(L"abc"), L"abc"},
        {"only a terminator", REG_SZ, TextBytes(L""), L""},
        {"no bytes at all", REG_SZ, {}, L""},
        {"no terminator keeps every character", REG_SZ, UnterminatedTextBytes(L"abc", 0), L"abc"},
        {"odd byte count drops the stray byte", REG_SZ, UnterminatedTextBytes(L"abc", 1), L"abc"},
        {"unterminated odd byte count keeps every character", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 'd'}, L"abc"},
        {"two terminators keep one", REG_SZ, UnterminatedTextBytes(L"abc", 4), std::wstring(L"abc\0", 4)},
        {"embedded NUL stays", REG_SZ, TextBytes(std::wstring(L"a\0b", 3)), std::wstring(L"a\0b", 3)},
        {"one stray byte is empty text", REG_SZ, {'a'}, L""},
        {"multi-string keeps separators and one NUL", REG_MULTI_SZ, TextBytes(std::wstring(L"a\0b\0", 4)),
         std::wstring(L"a\0b\0", 4)},
        {"expandable text unexpanded by default", REG_EXPAND_SZ, TextBytes(L"%WINDIR%\\System32"),
         L"%WINDIR%\\System32"},
        {"expandable text with no bytes", REG_EXPAND_SZ, {}, L""},
        {"unterminated expandable text keeps every character", REG_EXPAND_SZ, UnterminatedTextBytes(L"%x%", 0),
         L"%x%"},
        {"multi-string without its final NUL drops its last unit", REG_MULTI_SZ,
         TextBytes(std::wstring(L"a\0b", 3)), std::wstring(L"a\0b", 3)},
        {"multi-string without any terminator keeps its last string", REG_MULTI_SZ,
         UnterminatedTextBytes(std::wstring(L"a\0b", 3), 0), std::wstring(L"a\0b", 3)},
        {"multi-string with a stray odd byte", REG_MULTI_SZ, UnterminatedTextBytes(std::wstring(L"a\0b\0\0", 5), 1),
         std::wstring(L"a\0b\0", 4)},
        {"long text, read again at its full size", REG_SZ, TextBytes(std::wstring(3000, L'x') + L"end"),
         std::wstring(3000, L'x') + L"end"},
        {"unicode text", REG_SZ, TextBytes(L"\u00dcn\u00efc\u00f8d\u00e9 \u65e5\u672c \u20ac"),
         L"\u00dcn\u00efc\u00f8d\u00e9 \u65e5\u672c \u20ac"},
    };
    for (BufferBehaviour behaviour : kEveryBufferBehaviour) {
        SCOPED_TRACE(NameOf(behaviour));
        PlatformBuffers buffers(behaviour);
        platform::ScopedPlatform scoped(buffers);
        for (const TextCase& c : cases) {
            SCOPED_TRACE(c.what);
            PutRaw(Path(), L"v", c.type, c.stored);
            Registry registry = At(L"", L"v");
            EXPECT_EQ(TextOf(ReadValue(registry.Get())), c.expected);
            EXPECT_EQ(registry->ValueType(), static_cast<LONG>(c.type));
        }
    }
}

// A value that grows between the query that reports its size and the read at that size is read
// again at its new size: never a partly filled buffer.
TEST_F(RegistryReadTest, AValueThatGrowsWhileBeingReadIsReadWhole) {
    const std::wstring before(2000, L'a'), after = std::wstring(5000, L'b') + L"end";
    PutRaw(Path(), L"v", REG_SZ, TextBytes(before));
    CountingPlatform growing;
    int queries = 0;
    growing.beforeQueryValue = [&] {
        if (++queries == 2) PutRaw(Path(), L"v", REG_SZ, TextBytes(after));
    };
    platform::ScopedPlatform scoped(growing);
    Registry registry = At(L"", L"v");
    EXPECT_EQ(TextOf(ReadValue(registry.Get())), after);
    EXPECT_GE(queries, 3) << "the first read reported the old size";
}

// A root that reports "more data" without the size it needs (the performance-data root does):
// the buffer grows geometrically, so the read ends after a handful of queries, not one per byte.
class MoreDataWithoutSize : public ForwardingPlatform {
public:
    static constexpr DWORD kNeeded = 20000;
    int queries = 0;
    LONG QueryValue(HKEY, const std::wstring&, DWORD* type, BYTE* data, DWORD* size) override {
        ++queries;
        *type = REG_BINARY;
        if (*size < kNeeded) {
            *size = 0;
            return ERROR_MORE_DATA;
        }
        std::fill(data, data + kNeeded, BYTE{7});
        *size = kNeeded;
        return ERROR_SUCCESS;
    }
};

TEST_F(RegistryReadTest, MoreDataWithoutASizeGrowsTheBufferGeometrically) {
    MoreDataWithoutSize platform;
    platform::ScopedPlatform scoped(platform);
    Registry registry = At(L"", L"v");
    Variant value = ReadValue(registry.Get());
    EXPECT_EQ(BytesOf(*value.Get()), std::vector<BYTE>(MoreDataWithoutSize::kNeeded, 7));
    EXPECT_LE(platform.queries, 10);
}

struct IntegerCase {
    const char* what;
    DWORD type;
    std::vector<BYTE> stored;
    LONG expected;
};

TEST_F(RegistryReadTest, IntegersReadLittleEndianOrByteSwapped) {
    const std::vector<IntegerCase> cases = {
        {"dword 256", REG_DWORD, {0x00, 0x01, 0x00, 0x00}, 256},
        {"dword 65536", REG_DWORD, {0x00, 0x00, 0x01, 0x00}, 65536},
        {"dword negative", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, -1},
        {"big-endian 256", REG_DWORD_BIG_ENDIAN, {0x00, 0x00, 0x01, 0x00}, 256},
        {"big-endian byte order", REG_DWORD_BIG_ENDIAN, {0x11, 0x22, 0x33, 0x44}, 0x11223344},
        {"dword of 8 bytes: first four", REG_DWORD, {0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00}, 1},
        {"dword of 2 bytes: rest is 0", REG_DWORD, {0x01, 0x02}, 0x0201},
    };
    for (BufferBehaviour behaviour : kEveryBufferBehaviour) {
        SCOPED_TRACE(NameOf(behaviour));
        PlatformBuffers buffers(behaviour);
        platform::ScopedPlatform scoped(buffers);
        for (const IntegerCase& c : cases) {
            SCOPED_TRACE(c.what);
            PutRaw(Path(), L"n", c.type, c.stored);
            Registry registry = At(L"", L"n");
            Variant value = ReadValue(registry.Get());
            ASSERT_EQ(value.Type(), VT_I4);
            EXPECT_EQ(V_I4(value.Get()), c.expected);
            EXPECT_EQ(registry->ValueType(), static_cast<LONG>(c.type));
        }
    }
}

TEST_F(RegistryReadTest, EveryOtherTypeReadsAsAZeroBasedByteArray) {
    const std::vector<std::pair<DWORD, std::vector<BYTE>>> cases = {
        {REG_BINARY, {1, 2, 3}},
        {REG_NONE, {}},
        {REG_NONE, {9}},
        {REG_LINK, TextBytes(L"x", false)},
        {REG_RESOURCE_LIST, {4, 5}},
        {REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
        {0x1234, {7}},
    };
    for (BufferBehaviour behaviour : kEveryBufferBehaviour) {
        SCOPED_TRACE(NameOf(behaviour));
        PlatformBuffers buffers(behaviour);
        platform::ScopedPlatform scoped(buffers);
        for (const auto& [type, bytes] : cases) {
            SCOPED_TRACE(type);
            PutRaw(Path(), L"b", type, bytes);
            Registry registry = At(L"", L"b");
            Variant value = ReadValue(registry.Get());
            ASSERT_EQ(value.Type(), VT_ARRAY | VT_UI1);
            EXPECT_EQ(BoundsOf(V_ARRAY(value.Get())), std::make_pair(0L, static_cast<LONG>(bytes.size()) - 1));
            EXPECT_EQ(BytesOf(*value.Get()), bytes);
            EXPECT_EQ(registry->ValueType(), static_cast<LONG>(type));
        }
    }
}

TEST_F(RegistryReadTest, ExpansionOnlyWhenExpandEnvIsExactlyTrue) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZOLBEX11_READ_TEST", L"C:\\Here"));
    PutRaw(Path(), L"e", REG_EXPAND_SZ, TextBytes(L"%ZOLBEX11_READ_TEST%\\x %ZOLBEX11_UNDEFINED_VAR%"));
    Registry registry = At(L"", L"e");
    const std::pair<VARIANT_BOOL, std::wstring> cases[] = {
        {VARIANT_FALSE, L"%ZOLBEX11_READ_TEST%\\x %ZOLBEX11_UNDEFINED_VAR%"},
        {1, L"%ZOLBEX11_READ_TEST%\\x %ZOLBEX11_UNDEFINED_VAR%"},
        {VARIANT_TRUE, L"C:\\Here\\x %ZOLBEX11_UNDEFINED_VAR%"},
    };
    for (const auto& [expand, expected] : cases) {
        registry->put_ExpandEnv(expand);
        EXPECT_EQ(TextOf(ReadValue(registry.Get())), expected) << "ExpandEnv " << expand;
    }
    // A plain text is never expanded.
    PutRaw(Path(), L"s", REG_SZ, TextBytes(L"%ZOLBEX11_READ_TEST%"));
    registry->SetValueKey(L"s");
    EXPECT_EQ(TextOf(ReadValue(registry.Get())), L"%ZOLBEX11_READ_TEST%");
    SetEnvironmentVariableW(L"ZOLBEX11_READ_TEST", nullptr);
}

// Expansion that the platform cannot do whole fails the read: a cut text never passes for the
// value.
class FailingExpansion : public ForwardingPlatform {
public:
    std::optional<std::wstring> ExpandEnvironmentText(const std::wstring&) override { return std::nullopt; }
};

TEST_F(RegistryReadTest, FailedExpansionFailsTheRead) {
    PutRaw(Path(), L"e", REG_EXPAND_SZ, TextBytes(L"%WINDIR%"));
    Registry registry = At(L"", L"e");
    registry->SetExpandEnv(VARIANT_TRUE);
    FailingExpansion failing;
    platform::ScopedPlatform scoped(failing);
    Variant value;
    EXPECT_EQ(LastError(registry->get_Value(value.Put())).number, kOutOfStringSpace);
    EXPECT_EQ(value.Type(), VT_EMPTY);
}

// Expansions beyond the platform's own limit of 32K characters, against the real platform: the
// whole text, whatever its length, or an error when a variable alone is too long to expand.
TEST_F(RegistryReadTest, LongExpansionsAreWholeOrFail) {
    const std::wstring thousand(1000, L'x');
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZOLBEX11_THOUSAND", thousand.c_str()));
    std::wstring references, expected;
    for (int i = 0; i < 230; ++i) {
        references += L"%ZOLBEX11_THOUSAND%";
        expected += thousand;
    }
    std::wstring mixed = L"<%ZOLBEX11_UNDEFINED_VAR%|%ZOLBEX11_THOUSAND%|100%|" + std::wstring(40000, L'y') + L">";
    std::wstring mixedExpected = L"<%ZOLBEX11_UNDEFINED_VAR%|" + thousand + L"|100%|" + std::wstring(40000, L'y') + L">";
    PutRaw(Path(), L"long", REG_EXPAND_SZ, TextBytes(references));
    PutRaw(Path(), L"mixed", REG_EXPAND_SZ, TextBytes(mixed));
    Registry registry = At(L"", L"long");
    registry->SetExpandEnv(VARIANT_TRUE);
    const std::wstring read = TextOf(ReadValue(registry.Get()));
    EXPECT_EQ(read.size(), 230000u);
    EXPECT_TRUE(read == expected) << "the expansion differs from the variable's text repeated";
    registry->SetValueKey(L"mixed");
    EXPECT_TRUE(TextOf(ReadValue(registry.Get())) == mixedExpected);

    // A variable longer than the limit (Wine allows one) cannot be expanded whole: the platform
    // would cut it.
    if (SetEnvironmentVariableW(L"ZOLBEX11_HUGE", std::wstring(40000, L'h').c_str())) {
        PutRaw(Path(), L"huge", REG_EXPAND_SZ, TextBytes(L"<%ZOLBEX11_HUGE%>"));
        registry->SetValueKey(L"huge");
        Variant value;
        EXPECT_EQ(LastError(registry->get_Value(value.Put())).number, kOutOfStringSpace);
        EXPECT_EQ(value.Type(), VT_EMPTY);
        SetEnvironmentVariableW(L"ZOLBEX11_HUGE", nullptr);
    }
    SetEnvironmentVariableW(L"ZOLBEX11_THOUSAND", nullptr);
}

TEST_F(RegistryReadTest, WhatCannotBeReadReturnsDefaultAndKeepsValueType) {
    PutRaw(Path(), L"present", REG_SZ, TextBytes(L"x"));
    const LocationCase cases[] = {
        {"missing value", kCurrentUser, Path(), L"absent"},
        {"missing key", kCurrentUser, Path(L"absent"), L"present"},
        {"no root", 0, Path(), L"present"},
        {"missing unnamed value", kCurrentUser, Path(), L""},
    };
    for (const LocationCase& c : cases) {
        SCOPED_TRACE(c.what);
        Registry registry = Pointed(c);
        registry->SetValueType(REG_BINARY);
        EXPECT_EQ(ReadValue(registry.Get()).Type(), VT_EMPTY) << "a new object's Default is Empty";
        registry->put_Default(*Text(L"none").Get());
        EXPECT_EQ(TextOf(ReadValue(registry.Get())), L"none");
        EXPECT_EQ(registry->ValueType(), REG_BINARY);
    }
}

// Default takes an object's value, not the object: one without a default member is refused.
TEST_F(RegistryReadTest, DefaultIsAValueAssignment) {
    Registry registry = At();
    registry->put_Default(*Text(L"kept").Get());
    Registry other = MakeObject<RegistryObject>();
    Variant object;
    V_VT(object.Get()) = VT_DISPATCH;
    V_DISPATCH(object.Get()) = other.As<IDispatch>(IID_IDispatch).Detach();
    EXPECT_EQ(LastError(registry->put_Default(*object.Get())).number, 438);
    Variant dflt;
    registry->get_Default(dflt.Put());
    EXPECT_EQ(Str(dflt), L"kept");
}

TEST_F(RegistryReadTest, UnicodeLocationNamesReadBack) {
    const std::wstring section = L"\u65e5\u672c\u8a9e \u00e9t\u00e9";
    const std::wstring name = L"\u20ac \u00fc";
    PutRaw(Path(section), name, REG_SZ, TextBytes(L"\u0416"));
    Registry registry = At(section, name);
    EXPECT_EQ(TextOf(ReadValue(registry.Get())), L"\u0416");
}

// ---- ReadKey ------------------------------------------------------------------------------

struct Properties {
    LONG classKey;
    std::wstring section;
    std::wstring valueKey;
    std::wstring defaultText;
    bool operator==(const Properties& o) const {
        return classKey == o.classKey && section == o.section && valueKey == o.valueKey && defaultText == o.defaultText;
    }
};

Properties PropertiesOf(RegistryObject* registry) {
    Variant dflt;
    registry->get_Default(dflt.Put());
    return {registry->ClassKey(), registry->SectionKey(), registry->ValueKey(), Str(dflt)};
}

// ReadKey as an early-bound caller makes it: an omitted text is the default "", an omitted
// ClassKey 0 and an omitted Default the missing-argument marker.
HRESULT ReadKey(RegistryObject* registry, const std::wstring& valueKey, const std::wstring& section, LONG classKey,
                const wchar_t* defaultText, Variant& result) {
    Bstr valueText(valueKey), sectionText(section);
    BSTR valueArg = valueText.Get(), sectionArg = sectionText.Get();
    Variant dflt = defaultText ? Text(defaultText) : Missing();
    return registry->ReadKey(&valueArg, &sectionArg, &classKey, dflt.Get(), result.Put());
}

TEST_F(RegistryReadTest, ReadKeyOverridesOnlyWhatIsGivenAndPutsItBack) {
    PutRaw(Path(), L"v", REG_SZ, TextBytes(L"from v"));
    PutRaw(Path(), L"own", REG_DWORD, LongBytes(7));
    struct Case {
        const char* what;
        Properties object;  // before the call
        std::wstring valueKey, section;
        LONG classKey;
        const wchar_t* defaultArg;
        std::wstring expected;
    } cases[] = {
        {"every location argument", {0, L"elsewhere", L"other", L"own default"}, L"v", Path(), kCurrentUser, nullptr,
         L"from v"},
        {"only ValueKey: the object's own key", {kCurrentUser, Path(), L"own", L"own default"}, L"v", L"", 0, nullptr,
         L"from v"},
        {"empty ValueKey: the object's own value, not the unnamed one", {kCurrentUser, Path(), L"own", L""}, L"", L"",
         0, nullptr, L"7"},
        {"Default given for a missing value", {kCurrentUser, Path(), L"own", L"own default"}, L"absent", L"", 0,
         L"given default", L"given default"},
        {"Default omitted for a missing value", {kCurrentUser, Path(), L"own", L"own default"}, L"absent", L"", 0,
         nullptr, L"own default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Registry registry = Pointed(c.object.classKey, c.object.section, c.object.valueKey);
        registry->put_Default(*Text(c.object.defaultText.c_str()).Get());
        Variant result;
        ASSERT_EQ(ReadKey(registry.Get(), c.valueKey, c.section, c.classKey, c.defaultArg, result), S_OK);
        EXPECT_EQ(Str(result), c.expected);
        EXPECT_EQ(PropertiesOf(registry.Get()), c.object);
    }
}

TEST_F(RegistryReadTest, ReadKeyLeavesValueTypeAtTheTypeItRead) {
    PutRaw(Path(), L"n", REG_DWORD, LongBytes(1));
    Registry registry = At(L"", L"x");
    Variant result;
    ASSERT_EQ(ReadKey(registry.Get(), L"n", L"", 0, nullptr, result), S_OK);
    EXPECT_EQ(registry->ValueType(), REG_DWORD);
}

// A read that raises (here: a failure of the platform layer) leaves the arguments in place.
class ThrowingQuery : public ForwardingPlatform {
public:
    LONG QueryValue(HKEY, const std::wstring&, DWORD*, BYTE*, DWORD*) override {
        throw AutomationError(E_OUTOFMEMORY, kLibrarySource, L"Out of memory");
    }
};

TEST_F(RegistryReadTest, ReadKeyDoesNotPutPropertiesBackAfterARaise) {
    Registry registry = At(L"", L"own");
    registry->SetClassKey(0);
    ThrowingQuery throwing;
    platform::ScopedPlatform scoped(throwing);
    Variant result;
    HRESULT hr = ReadKey(registry.Get(), L"v", Path(), kCurrentUser, L"given", result);
    EXPECT_EQ(hr, E_OUTOFMEMORY);
    EXPECT_EQ(PropertiesOf(registry.Get()), (Properties{kCurrentUser, Path(), L"v", L"given"}));
}

}  // namespace
}  // namespace zolbex
