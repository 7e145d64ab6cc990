// Writing values: what is stored for each ValueType (read back with the raw API), the percent
// rule, the write errors, and WriteKey's override-and-restore rule.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/bstr.h"
#include "library/errors.h"
#include "platform/platform.h"
#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

Variant Double(double value) {
    Variant v;
    V_VT(v.Get()) = VT_R8;
    V_R8(v.Get()) = value;
    return v;
}

std::wstring WriteFailure(LONG root, const std::wstring& section, const std::wstring& name, const std::wstring& value) {
    return L"Failed to set registry value Key: '" + std::to_wstring(root) + L"',Section: '" + section +
           L"',Key: '" + name + L"' to value: '" + value + L"'";
}

class RegistryWriteTest : public RegistryTest {};

struct WriteCase {
    const char* what;
    LONG valueType;
    Variant value;
    DWORD storedType;
    std::vector<BYTE> storedBytes;
};

TEST_F(RegistryWriteTest, StoredTypeAndBytesFollowValueTypeAndThePercentRule) {
    std::vector<WriteCase> cases;
    auto add = [&](const char* what, LONG valueType, Variant value, DWORD storedType, std::vector<BYTE> bytes) {
        cases.push_back({what, valueType, std::move(value), storedType, std::move(bytes)});
    };
    add("plain text", REG_SZ, Text(L"plain"), REG_SZ, TextBytes(L"plain"));
    add("empty text: one terminator", REG_SZ, Text(L""), REG_SZ, TextBytes(L""));
    add("a reference", REG_SZ, Text(L"%WINDIR%\\Temp"), REG_EXPAND_SZ, TextBytes(L"%WINDIR%\\Temp"));
    add("separated percent signs", REG_SZ, Text(L"100% of 50%"), REG_EXPAND_SZ, TextBytes(L"100% of 50%"));
    add("percent two places on", REG_SZ, Text(L"%a%"), REG_EXPAND_SZ, TextBytes(L"%a%"));
    add("adjacent percent signs only", REG_SZ, Text(L"a%%b"), REG_SZ, TextBytes(L"a%%b"));
    add("one percent sign", REG_SZ, Text(L"50%"), REG_SZ, TextBytes(L"50%"));
    add("expandable without percent", REG_EXPAND_SZ, Text(L"no reference"), REG_SZ, TextBytes(L"no reference"));
    add("number as text", REG_SZ, Long(42), REG_SZ, TextBytes(L"42"));
    add("Boolean as text", REG_SZ, Bool(true), REG_SZ, TextBytes(L"True"));
    add("unicode text", REG_SZ, Text(L"\u65e5\u672c \u20ac"), REG_SZ, TextBytes(L"\u65e5\u672c \u20ac"));
    add("dword 256", REG_DWORD, Long(256), REG_DWORD, {0x00, 0x01, 0x00, 0x00});
    add("big-endian written as dword", REG_DWORD_BIG_ENDIAN, Long(256), REG_DWORD, {0x00, 0x01, 0x00, 0x00});
    add("16-bit integer widened", REG_DWORD, Short(-1), REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    add("text of digits coerced", REG_DWORD, Text(L"1234"), REG_DWORD, LongBytes(1234));
    add("double coerced", REG_DWORD, Double(7.0), REG_DWORD, LongBytes(7));
    add("bytes with bounds 0 to 2", REG_BINARY, ByteArray({1, 2, 3}, 0), REG_BINARY, {1, 2, 3});
    add("bytes with bounds 1 to 3", REG_BINARY, ByteArray({1, 2, 3}, 1), REG_BINARY, {1, 2, 3});
    add("no bytes", REG_BINARY, ByteArray({}), REG_BINARY, {});

    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        Registry registry = At(L"", L"w");
        registry->SetValueType(c.valueType);
        HRESULT hr = registry->put_Value(*c.value.Get());
        ASSERT_EQ(hr, S_OK) << LastError(hr).description;
        std::optional<RawValue> stored = GetRaw(Path(), L"w");
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->type, c.storedType);
        EXPECT_EQ(stored->bytes, c.storedBytes);
        EXPECT_EQ(registry->ValueType(), c.valueType) << "the percent rule never changes ValueType";
    }
}

TEST_F(RegistryWriteTest, WriteCreatesEveryMissingKeyOnThePath) {
    Registry registry = At(L"a\\b\\c", L"deep");
    registry->SetValueType(REG_SZ);
    ASSERT_EQ(registry->put_Value(*Text(L"x").Get()), S_OK);
    EXPECT_EQ(GetRaw(Path(L"a\\b\\c"), L"deep")->bytes, TextBytes(L"x"));
}

TEST_F(RegistryWriteTest, UnicodeLocationAndTextRoundTrip) {
    const std::wstring section = L"\u0441\u0435\u043a\u0446\u0438\u044f \u65e5";
    const std::wstring name = L"\u540d\u524d \u00e9";
    const std::wstring text = L"\u00dc \u20ac \xD83D\xDE00 \u05e9\u05dc\u05d5\u05dd";  // with a surrogate pair
    Registry registry = At(section, name);
    registry->SetValueType(REG_SZ);
    ASSERT_EQ(registry->put_Value(*Text(text.c_str()).Get()), S_OK);
    EXPECT_EQ(GetRaw(Path(section), name)->bytes, TextBytes(text));
    Variant read;
    ASSERT_EQ(registry->get_Value(read.Put()), S_OK);
    EXPECT_EQ(Str(read), text);
    EXPECT_EQ(registry->ListValueNames(), std::vector<std::wstring>{name});
}

TEST_F(RegistryWriteTest, AReadDwordIsWrittenBackAsDword) {
    PutRaw(Path(), L"n", REG_DWORD, LongBytes(1));
    Registry registry = At(L"", L"n");
    Variant read;
    ASSERT_EQ(registry->get_Value(read.Put()), S_OK);
    ASSERT_EQ(registry->put_Value(*Long(5).Get()), S_OK);
    EXPECT_EQ(GetRaw(Path(), L"n")->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(GetRaw(Path(), L"n")->bytes, LongBytes(5));
}

struct WriteErrorCase {
    const char* what;
    LONG classKey;
    std::wstring below;
    LONG valueType;
    Variant value;
    long number;
    std::wstring source;
    std::wstring description;  // for the case's location, value name "w"
    bool keyCreated;
};

TEST_F(RegistryWriteTest, FailedWritesRaiseTheirErrorAndStoreNothing) {
    std::vector<WriteErrorCase> cases;
    auto add = [&](const char* what, LONG classKey, std::wstring below, LONG valueType, Variant value, long number,
                   std::wstring source, std::wstring description, bool keyCreated) {
        cases.push_back({what, classKey, std::move(below), valueType, std::move(value), number, std::move(source),
                         std::move(description), keyCreated});
    };
    add("no root: key cannot be created", 0, L"k1", REG_SZ, Text(L"v"), 26001, L"zolbex11.cRegistry",
        WriteFailure(0, Path(L"k1"), L"w", L"v"), false);
    add("binary from text", kCurrentUser, L"k2", REG_BINARY, Text(L"v"), 26001, L"ZOLBEX11",
        L"Application-defined or object-defined error", true);
    add("dword from text that is no number", kCurrentUser, L"k3", REG_DWORD, Text(L"abc"), -2147194455,
        L"zolbex11.cRegistry", WriteFailure(kCurrentUser, Path(L"k3"), L"w", L"abc"), true);
    add("dword from a double out of range", kCurrentUser, L"k8", REG_DWORD, Double(3e9), -2147194455,
        L"zolbex11.cRegistry", WriteFailure(kCurrentUser, Path(L"k8"), L"w", L"3000000000"), true);
    add("dword from bytes", kCurrentUser, L"k4", REG_DWORD, ByteArray({1}), -2147194455, L"zolbex11.cRegistry",
        WriteFailure(kCurrentUser, Path(L"k4"), L"w", L""), true);
    add("ValueType never set", kCurrentUser, L"k5", REG_NONE, Text(L"v"), -2147194455, L"zolbex11.cRegistry",
        WriteFailure(kCurrentUser, Path(L"k5"), L"w", L"v"), true);
    add("multi-string", kCurrentUser, L"k6", REG_MULTI_SZ, Long(3), -2147194455, L"zolbex11.cRegistry",
        WriteFailure(kCurrentUser, Path(L"k6"), L"w", L"3"), true);
    add("type outside the enumeration", kCurrentUser, L"k7", 99, Text(L"v"), -2147194455, L"zolbex11.cRegistry",
        WriteFailure(kCurrentUser, Path(L"k7"), L"w", L"v"), true);

    for (const WriteErrorCase& c : cases) {
        SCOPED_TRACE(c.what);
        Registry registry = At(c.below, L"w");
        registry->SetClassKey(c.classKey);
        registry->SetValueType(c.valueType);
        HRESULT hr = registry->put_Value(*c.value.Get());
        ErrorSeen error = LastError(hr);
        EXPECT_EQ(error.number, c.number);
        EXPECT_EQ(error.source, c.source);
        EXPECT_EQ(error.description, c.description);
        EXPECT_EQ(RawKeyExists(Path(c.below)), c.keyCreated);
        EXPECT_FALSE(GetRaw(Path(c.below), L"w"));
    }
}

TEST_F(RegistryWriteTest, ARefusedStoreRaisesTheWriteFailure) {
    CountingPlatform refusing;
    refusing.setValueResult = ERROR_ACCESS_DENIED;
    platform::ScopedPlatform scoped(refusing);
    Registry registry = At(L"", L"w");
    registry->SetValueType(REG_SZ);
    ErrorSeen error = LastError(registry->put_Value(*Long(12).Get()));
    EXPECT_EQ(error.number, -2147194455);
    EXPECT_EQ(error.source, L"zolbex11.cRegistry");
    EXPECT_EQ(error.description, WriteFailure(kCurrentUser, Path(), L"w", L"12"));
}

// ---- WriteKey -----------------------------------------------------------------------------

HRESULT WriteKey(RegistryObject* registry, const VARIANT& value, const std::wstring& valueKey,
                 const std::wstring& section, LONG classKey) {
    Bstr valueText(valueKey), sectionText(section);
    BSTR valueArg = valueText.Get(), sectionArg = sectionText.Get();
    Variant copy;
    VariantCopy(copy.Get(), const_cast<VARIANT*>(&value));
    return registry->WriteKey(copy.Get(), &valueArg, &sectionArg, &classKey);
}

TEST_F(RegistryWriteTest, WriteKeyWritesThereAndPutsTheOverriddenPropertiesBack) {
    struct Case {
        const char* what;
        std::wstring objectSection, objectValueKey;
        LONG objectClassKey;
        std::wstring valueKey, section;
        LONG classKey;
        std::wstring writtenName;  // under the scratch key
    } cases[] = {
        {"section and root given", L"elsewhere", L"a", 0, L"", Path(), kCurrentUser, L"a"},
        {"every argument given", L"elsewhere", L"other", 0, L"b", Path(), kCurrentUser, L"b"},
        {"empty ValueKey: the object's own value name", Path(), L"own", kCurrentUser, L"", L"", 0, L"own"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Registry registry = Pointed(c.objectClassKey, c.objectSection, c.objectValueKey);
        registry->SetValueType(REG_SZ);
        ASSERT_EQ(WriteKey(registry.Get(), *Text(L"written").Get(), c.valueKey, c.section, c.classKey), S_OK);
        EXPECT_EQ(GetRaw(Path(), c.writtenName)->bytes, TextBytes(L"written"));
        EXPECT_FALSE(GetRaw(Path(), L"")) << "never the unnamed value";
        EXPECT_EQ(registry->SectionKey(), c.objectSection);
        EXPECT_EQ(registry->ValueKey(), c.objectValueKey);
        EXPECT_EQ(registry->ClassKey(), c.objectClassKey);
    }
}

TEST_F(RegistryWriteTest, WriteKeyDoesNotPutPropertiesBackAfterARaise) {
    Registry registry = Pointed(0, L"elsewhere", L"own");
    registry->SetValueType(REG_BINARY);
    ErrorSeen error = LastError(WriteKey(registry.Get(), *Text(L"not bytes").Get(), L"w", Path(), kCurrentUser));
    EXPECT_EQ(error.number, 26001);
    EXPECT_EQ(registry->ClassKey(), kCurrentUser);
    EXPECT_EQ(registry->SectionKey(), Path());
    EXPECT_EQ(registry->ValueKey(), L"w");
}

}  // namespace
}  // namespace zolbex
