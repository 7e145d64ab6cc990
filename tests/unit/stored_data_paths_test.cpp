// Values other programs leave behind, written with the raw registry call and read through every
// path of the library against the real registry: the registry object's Value and ReadKey, the
// user and machine scopes' Environment and List, the facade's EnvironGet, and the settings
// store. Each row states its answers; none is worked out from the library's own rules.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "environment_test_support.h"
#include "library/bstr.h"
#include "library/class_table.h"
#include "platform/platform.h"
#include "registry_test_support.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

// What the registry object's read returns: a text, a number or bytes.
struct Answer {
    VARTYPE type;
    std::wstring text;
    LONG number = 0;
    std::vector<BYTE> bytes;
};
Answer IsText(std::wstring text) { return {VT_BSTR, std::move(text), 0, {}}; }
Answer IsNumber(LONG number) { return {VT_I4, L"", number, {}}; }
Answer IsBytes(std::vector<BYTE> bytes) { return {VT_ARRAY | VT_UI1, L"", 0, std::move(bytes)}; }

void ExpectAnswer(const VARIANT& value, const Answer& expected) {
    ASSERT_EQ(V_VT(&value), expected.type);
    if (expected.type == VT_BSTR) {
        const std::wstring text(Bstr::ViewOf(V_BSTR(&value)));
        EXPECT_EQ(text.size(), expected.text.size());
        EXPECT_TRUE(text == expected.text) << "text differs";
    } else if (expected.type == VT_I4) {
        EXPECT_EQ(V_I4(&value), expected.number);
    } else {
        EXPECT_TRUE(BytesOf(value) == expected.bytes) << "bytes differ";
    }
}

std::wstring WithNuls(const wchar_t* text, size_t length) { return std::wstring(text, length); }

struct StoredRow {
    const char* what;
    DWORD type;
    std::vector<BYTE> stored;
    Answer value;                          // Value and ReadKey
    std::wstring variable;                 // the scopes' Environment and List, the facade's EnvironGet
    std::optional<std::wstring> setting;   // the settings store (text types only)
};

const std::vector<BYTE> kMegabyte(1 << 20, 0x41);

std::vector<StoredRow> Rows() {
    return {
        {"REG_SZ of 0 bytes", REG_SZ, {}, IsText(L""), L"", L""},
        {"REG_SZ of 1 byte", REG_SZ, {'a'}, IsText(L""), L"", L""},
        {"REG_SZ of 7 bytes: abc and a stray NUL byte", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0}, IsText(L"abc"), L"abc",
         L"abc"},
        {"REG_SZ of 7 bytes: abc and a stray byte", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 'd'}, IsText(L"abc"), L"abc",
         L"abc"},
        {"REG_SZ of 6 bytes, no terminator", REG_SZ, {'a', 0, 'b', 0, 'c', 0}, IsText(L"abc"), L"abc", L"abc"},
        {"REG_SZ with one terminator", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0}, IsText(L"abc"), L"abc", L"abc"},
        {"REG_SZ with two terminators", REG_SZ, {'a', 0, 'b', 0, 'c', 0, 0, 0, 0, 0}, IsText(WithNuls(L"abc\0", 4)),
         WithNuls(L"abc\0", 4), WithNuls(L"abc\0", 4)},
        {"REG_SZ with embedded NULs", REG_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 'c', 0, 0, 0},
         IsText(WithNuls(L"a\0b\0c", 5)), WithNuls(L"a\0b\0c", 5), WithNuls(L"a\0b\0c", 5)},
        {"REG_SZ of only a terminator", REG_SZ, {0, 0}, IsText(L""), L"", L""},
        {"REG_EXPAND_SZ without a terminator, read unexpanded", REG_EXPAND_SZ,
         {'x', 0, '%', 0, 'Z', 0, 'Q', 0, '%', 0}, IsText(L"x%ZQ%"), L"x%ZQ%", L"x%ZQ%"},
        {"REG_MULTI_SZ as written", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}, IsText(WithNuls(L"a\0b\0", 4)),
         WithNuls(L"a\0b\0", 4), std::nullopt},
        {"REG_MULTI_SZ without its final NUL", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0},
         IsText(WithNuls(L"a\0b", 3)), WithNuls(L"a\0b", 3), std::nullopt},
        {"REG_MULTI_SZ without any terminator", REG_MULTI_SZ, {'a', 0, 0, 0, 'b', 0},
         IsText(WithNuls(L"a\0b", 3)), WithNuls(L"a\0b", 3), std::nullopt},
        {"REG_MULTI_SZ with empty strings", REG_MULTI_SZ, {'a', 0, 0, 0, 0, 0, 'b', 0, 0, 0, 0, 0},
         IsText(WithNuls(L"a\0\0b\0", 5)), WithNuls(L"a\0\0b\0", 5), std::nullopt},
        {"REG_MULTI_SZ of 0 bytes", REG_MULTI_SZ, {}, IsText(L""), L"", std::nullopt},
        {"REG_DWORD of 0 bytes", REG_DWORD, {}, IsNumber(0), L"0", std::nullopt},
        {"REG_DWORD of 1 byte", REG_DWORD, {5}, IsNumber(5), L"5", std::nullopt},
        {"REG_DWORD of 2 bytes", REG_DWORD, {1, 2}, IsNumber(513), L"513", std::nullopt},
        {"REG_DWORD of 3 bytes", REG_DWORD, {1, 2, 3}, IsNumber(197121), L"197121", std::nullopt},
        {"REG_DWORD of 8 bytes", REG_DWORD, {1, 0, 0, 0, 2, 0, 0, 0}, IsNumber(1), L"1", std::nullopt},
        {"REG_DWORD_BIG_ENDIAN of 4 bytes", REG_DWORD_BIG_ENDIAN, {0, 0, 1, 0}, IsNumber(256), L"256", std::nullopt},
        {"REG_QWORD of 4 bytes", REG_QWORD, {1, 2, 3, 4}, IsBytes({1, 2, 3, 4}), L"\x0201\x0403", std::nullopt},
        {"REG_QWORD of 8 bytes", REG_QWORD, {'a', 0, 'b', 0, 0, 0, 0, 0}, IsBytes({'a', 0, 'b', 0, 0, 0, 0, 0}),
         WithNuls(L"ab\0\0", 4), std::nullopt},
        {"unknown type 0x1234", 0x1234, {7}, IsBytes({7}), L"\x0007", std::nullopt},
        {"unknown type 0x80000000", 0x80000000, {'z', 0}, IsBytes({'z', 0}), L"z", std::nullopt},
        {"REG_BINARY of 1 MB", REG_BINARY, kMegabyte, IsBytes(kMegabyte), std::wstring(1 << 19, L'\x4141'),
         std::nullopt},
    };
}

constexpr wchar_t kScratchSettings[] = L"Software\\VB and VBA Program Settings\\ZOLBEX11 Tests\\Stored";

std::wstring RowName(size_t row) { return L"ZOLBEX11_STORED_" + std::to_wstring(row); }

class StoredDataPathsTest : public RegistryTest {
protected:
    void SetUp() override {
        RegistryTest::SetUp();
        rows_ = Rows();
        std::vector<ValueAt> saved;
        for (size_t row = 0; row < rows_.size(); ++row) {
            saved.push_back({HKEY_CURRENT_USER, kUserEnvironment, RowName(row)});
            saved.push_back({HKEY_LOCAL_MACHINE, kMachineEnvironment, RowName(row)});
        }
        saved_.emplace(saved);
        substitute_.emplace(platform_);  // records boxes instead of showing them
    }
    void TearDown() override {
        substitute_.reset();
        saved_.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratchSettings);
        RegDeleteKeyW(HKEY_CURRENT_USER, kScratchSettings);
        RegistryTest::TearDown();
    }

    std::vector<StoredRow> rows_;
    RecordingPlatform platform_;

private:
    std::optional<SavedValues> saved_;
    std::optional<platform::ScopedPlatform> substitute_;
};

TEST_F(StoredDataPathsTest, EveryPathReadsWhatWasStored) {
    for (size_t row = 0; row < rows_.size(); ++row) {
        const StoredRow& r = rows_[row];
        const std::wstring name = RowName(row);
        PutRaw(Path(), name, r.type, r.stored);
        PutBytes({HKEY_CURRENT_USER, kUserEnvironment, name}, r.type, r.stored);
        PutBytes({HKEY_LOCAL_MACHINE, kMachineEnvironment, name}, r.type, r.stored);
        PutBytes({HKEY_CURRENT_USER, kScratchSettings, name}, r.type, r.stored);
    }
    ComPtr<IDispatch> user = NewUserScope(), machine = NewSystemScope(), runtime = NewRunTime();
    auto listOf = [](IDispatch* scope) {
        CallResult listed = GetProperty(scope, L"List");
        EXPECT_EQ(listed.value.Type(), VT_DISPATCH);
        return ComPtr<IDispatch>(V_DISPATCH(listed.value.Get()))
            .As<_clsZolbexENVValuePairsA>(__uuidof(_clsZolbexENVValuePairsA));
    };
    auto userList = listOf(user.Get()), machineList = listOf(machine.Get());

    for (size_t row = 0; row < rows_.size(); ++row) {
        const StoredRow& r = rows_[row];
        const std::wstring name = RowName(row);
        SCOPED_TRACE(r.what);
        {
            SCOPED_TRACE("Value");
            Registry registry = At(L"", name);
            Variant value;
            ASSERT_EQ(registry->get_Value(value.Put()), S_OK);
            ExpectAnswer(*value.Get(), r.value);
            EXPECT_EQ(registry->ValueType(), static_cast<LONG>(r.type));
        }
        {
            SCOPED_TRACE("ReadKey");
            CallResult read = CallMethod(static_cast<IDispatch*>(At().Get()), L"ReadKey",
                                         Args(Text(name.c_str()), Text(Path().c_str()), Long(kCurrentUser)));
            ASSERT_EQ(read.hr, S_OK);
            ExpectAnswer(*read.value.Get(), r.value);
        }
        for (IDispatch* scope : {user.Get(), machine.Get()}) {
            SCOPED_TRACE(scope == user.Get() ? "user Environment" : "machine Environment");
            CallResult read = GetProperty(scope, L"Environment", Args(Text(name.c_str())));
            ASSERT_EQ(read.hr, S_OK);
            EXPECT_TRUE(Str(read.value) == r.variable);
        }
        for (auto* list : {userList.Get(), machineList.Get()}) {
            SCOPED_TRACE(list == userList.Get() ? "user List" : "machine List");
            EXPECT_TRUE(Listed(list, name) == std::optional<std::wstring>(r.variable));
        }
        for (LONG style : {1L, 2L}) {
            SCOPED_TRACE(style == 1 ? "EnvironGet, user" : "EnvironGet, machine");
            CallResult read = CallMethod(runtime.Get(), L"EnvironGet", Args(Long(style), Text(name.c_str())));
            ASSERT_EQ(read.hr, S_OK);
            EXPECT_TRUE(Str(read.value) == r.variable);
        }
        {
            SCOPED_TRACE("settings store");
            EXPECT_EQ(platform::Win32().ReadSetting(L"ZOLBEX11 Tests", L"Stored", name), r.setting);
        }
    }
    EXPECT_TRUE(platform_.boxes.empty());
}

// The longest names the registry allows: 16,383 characters for a value, 255 for a key.
TEST_F(StoredDataPathsTest, TheLongestNamesAreReadAndListedWhole) {
    const std::wstring valueName(16383, L'v');
    const std::wstring keyName = std::wstring(254, L'k') + L"K";
    PutRaw(Path(), valueName, REG_SZ, {'a', 0, 'b', 0});
    PutRaw(Path(keyName), L"inner", REG_SZ, {'c', 0});

    Registry registry = At(L"", valueName);
    Variant value;
    ASSERT_EQ(registry->get_Value(value.Put()), S_OK);
    ExpectAnswer(*value.Get(), IsText(L"ab"));

    SAFEARRAY* names = nullptr;
    LONG count = 0;
    VARIANT_BOOL listed = VARIANT_FALSE;
    ASSERT_EQ(registry->EnumerateValues(&names, &count, &listed), S_OK);
    EXPECT_EQ(NamesOf(names), std::vector<std::wstring>{valueName});
    SafeArrayDestroy(names);
    names = nullptr;
    ASSERT_EQ(registry->EnumerateSections(&names, &count, &listed), S_OK);
    EXPECT_EQ(NamesOf(names), std::vector<std::wstring>{keyName});
    SafeArrayDestroy(names);

    Registry inner = At(keyName, L"inner");
    ASSERT_EQ(inner->get_Value(value.Put()), S_OK);
    ExpectAnswer(*value.Get(), IsText(L"c"));
    VARIANT_BOOL exists = VARIANT_FALSE;
    ASSERT_EQ(inner->get_KeyExists(&exists), S_OK);
    EXPECT_EQ(exists, VARIANT_TRUE);
}

}  // namespace
}  // namespace zolbex::testing
