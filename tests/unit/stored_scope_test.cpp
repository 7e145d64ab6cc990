// The user and machine scopes: each works only in its own key, stores texts by the percent
// rule, reads back expanded or not by the expansion setting at its creation, announces every
// successful write once, caches its listing, and passes a refused write on without announcing it.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "environment/variable_text.h"
#include "environment_test_support.h"
#include "library/class_table.h"
#include "library/expansion_setting.h"
#include "registry_test_support.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

using List = ComPtr<_clsZolbexENVValuePairsA>;

struct ScopeKind {
    const char* label;
    ClassCreator create;
    HKEY root;
    const wchar_t* path;
    HKEY otherRoot;
    const wchar_t* otherPath;
};

const ScopeKind kScopes[] = {
    {"User", NewUserScope, HKEY_CURRENT_USER, kUserEnvironment, HKEY_LOCAL_MACHINE, kMachineEnvironment},
    {"Machine", NewSystemScope, HKEY_LOCAL_MACHINE, kMachineEnvironment, HKEY_CURRENT_USER, kUserEnvironment},
};

const wchar_t* const kNames[] = {L"ZOLBEX11_TEST_PLAIN", L"ZOLBEX11_TEST_EMPTY", L"ZOLBEX11_TEST_REF",
                                 L"ZOLBEX11_TEST_SINGLE", L"ZOLBEX11_TEST_ADJACENT", L"ZOLBEX11_TEST_LATER",
                                 L"ZOLBEX11_TEST_NUMBER", L"ZOLBEX11_TEST_BYTES"};

std::wstring Read(IDispatch* scope, const std::wstring& name) {
    CallResult r = GetProperty(scope, L"Environment", Args(Text(name.c_str())));
    EXPECT_EQ(r.hr, S_OK) << "reading " << std::string(name.begin(), name.end());
    return Str(r.value);
}

CallResult Write(IDispatch* scope, const std::wstring& name, const std::wstring& value) {
    return PutProperty(scope, L"Environment", Args(Text(name.c_str()), Text(value.c_str())));
}

List ListOf(IDispatch* scope) {
    CallResult r = GetProperty(scope, L"List");
    EXPECT_EQ(r.hr, S_OK);
    EXPECT_EQ(r.value.Type(), VT_DISPATCH);
    if (r.value.Type() != VT_DISPATCH || !V_DISPATCH(r.value.Get())) return List();
    return ComPtr<IDispatch>(V_DISPATCH(r.value.Get())).As<_clsZolbexENVValuePairsA>(__uuidof(_clsZolbexENVValuePairsA));
}

class StoredScopeTest : public ComTest, public ::testing::WithParamInterface<ScopeKind> {
protected:
    void SetUp() override {
        ComTest::SetUp();
        std::vector<ValueAt> values;
        for (const ScopeKind& kind : kScopes)
            for (const wchar_t* name : kNames) values.push_back({kind.root, kind.path, name});
        saved_.emplace(values);
        for (const ValueAt& at : values) RemoveValue(at);  // every test starts without them
        substitute_.emplace(platform_);
    }
    void TearDown() override {
        substitute_.reset();
        saved_.reset();
        SetThreadExpansionSetting(VARIANT_FALSE);
        SetEnvironmentVariableW(L"ZOLBEX11_TEST_ROOT", nullptr);
        ComTest::TearDown();
    }

    ComPtr<IDispatch> NewScope() const { return GetParam().create(); }
    ValueAt Own(const std::wstring& name) const { return {GetParam().root, GetParam().path, name}; }
    ValueAt Other(const std::wstring& name) const { return {GetParam().otherRoot, GetParam().otherPath, name}; }

    RecordingPlatform platform_;

private:
    std::optional<SavedValues> saved_;
    std::optional<platform::ScopedPlatform> substitute_;
};

TEST_P(StoredScopeTest, LetStoresByThePercentRuleAndGetReadsItBack) {
    const struct {
        const wchar_t* name;
        const wchar_t* value;
        DWORD type;
    } cases[] = {
        {L"ZOLBEX11_TEST_PLAIN", L"C:\\Tools;D:\\More", REG_SZ},
        {L"ZOLBEX11_TEST_EMPTY", L"", REG_SZ},  // stored as an empty value: the variable stays
        {L"ZOLBEX11_TEST_REF", L"%PATH%;C:\\x", REG_EXPAND_SZ},
        {L"ZOLBEX11_TEST_SINGLE", L"100% sure", REG_SZ},
        {L"ZOLBEX11_TEST_ADJACENT", L"a%%b", REG_SZ},
    };
    ComPtr<IDispatch> scope = NewScope();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        ASSERT_EQ(Write(scope.Get(), c.name, c.value).hr, S_OK);
        EXPECT_EQ(GetText(Own(c.name)), (StoredText{c.type, c.value}));
        EXPECT_FALSE(GetText(Other(c.name))) << "the other scope's key is untouched";
        EXPECT_EQ(Read(scope.Get(), c.name), c.value) << "read back unexpanded (setting False)";
    }
}

TEST_P(StoredScopeTest, MissingVariableReadsAsEmptyText) {
    EXPECT_EQ(Read(NewScope().Get(), L"ZOLBEX11_TEST_LATER"), L"");
}

TEST_P(StoredScopeTest, ExpansionFollowsTheSettingAtCreation) {
    SetEnvironmentVariableW(L"ZOLBEX11_TEST_ROOT", L"C:\\Root");
    const std::wstring name = L"ZOLBEX11_TEST_REF";
    PutText(Own(name), L"%ZOLBEX11_TEST_ROOT%\\Temp", REG_EXPAND_SZ);

    ComPtr<IDispatch> createdWhileFalse = NewScope();
    SetThreadExpansionSetting(VARIANT_TRUE);
    ComPtr<IDispatch> createdWhileTrue = NewScope();

    EXPECT_EQ(Read(createdWhileFalse.Get(), name), L"%ZOLBEX11_TEST_ROOT%\\Temp") << "a later change does not reach it";
    EXPECT_EQ(Read(createdWhileTrue.Get(), name), L"C:\\Root\\Temp");
    List unexpanded = ListOf(createdWhileFalse.Get()), expanded = ListOf(createdWhileTrue.Get());
    ASSERT_TRUE(unexpanded && expanded);
    EXPECT_EQ(Listed(unexpanded.Get(), name), L"%ZOLBEX11_TEST_ROOT%\\Temp");
    EXPECT_EQ(Listed(expanded.Get(), name), L"C:\\Root\\Temp");
}

TEST_P(StoredScopeTest, EverySuccessfulLetBroadcastsOnce) {
    ComPtr<IDispatch> scope = NewScope();
    ASSERT_EQ(Write(scope.Get(), L"ZOLBEX11_TEST_PLAIN", L"same").hr, S_OK);
    ASSERT_EQ(Write(scope.Get(), L"ZOLBEX11_TEST_PLAIN", L"same").hr, S_OK);
    EXPECT_EQ(platform_.broadcasts, (std::vector<std::wstring>{L"Environment", L"Environment"}));
    Read(scope.Get(), L"ZOLBEX11_TEST_PLAIN");
    ListOf(scope.Get());
    EXPECT_EQ(platform_.broadcasts.size(), 2u) << "reads and listings announce nothing";
}

TEST_P(StoredScopeTest, ListIsBuiltOncePerObject) {
    PutText(Own(L"ZOLBEX11_TEST_PLAIN"), L"listed");
    ComPtr<IDispatch> scope = NewScope();
    List first = ListOf(scope.Get());
    ASSERT_TRUE(first);
    EXPECT_EQ(Listed(first.Get(), L"zolbex11_test_plain"), L"listed");

    ASSERT_EQ(Write(scope.Get(), L"ZOLBEX11_TEST_LATER", L"new").hr, S_OK);
    List again = ListOf(scope.Get());
    EXPECT_EQ(again.Get(), first.Get()) << "the same collection";
    EXPECT_FALSE(Listed(again.Get(), L"ZOLBEX11_TEST_LATER"));

    List fresh = ListOf(NewScope().Get());
    ASSERT_TRUE(fresh);
    EXPECT_NE(fresh.Get(), first.Get());
    EXPECT_EQ(Listed(fresh.Get(), L"ZOLBEX11_TEST_LATER"), L"new");
    scope.Reset();
    EXPECT_EQ(Listed(first.Get(), L"ZOLBEX11_TEST_PLAIN"), L"listed") << "the listing outlives its scope";
}

TEST_P(StoredScopeTest, ValuesOfOtherTypesReadAsText) {
    PutBytes(Own(L"ZOLBEX11_TEST_NUMBER"), REG_DWORD, {42, 0, 0, 0});
    PutBytes(Own(L"ZOLBEX11_TEST_BYTES"), REG_BINARY, {'o', 0, 'k', 0});
    ComPtr<IDispatch> scope = NewScope();
    EXPECT_EQ(Read(scope.Get(), L"ZOLBEX11_TEST_NUMBER"), L"42");
    EXPECT_EQ(Read(scope.Get(), L"ZOLBEX11_TEST_BYTES"), L"ok");
    List list = ListOf(scope.Get());
    ASSERT_TRUE(list);
    EXPECT_EQ(Listed(list.Get(), L"ZOLBEX11_TEST_NUMBER"), L"42");
    EXPECT_EQ(Listed(list.Get(), L"ZOLBEX11_TEST_BYTES"), L"ok");
}

TEST_P(StoredScopeTest, EveryOperationStaysInItsOwnKey) {
    ComPtr<IDispatch> scope = NewScope();
    ASSERT_EQ(Write(scope.Get(), L"ZOLBEX11_TEST_PLAIN", L"x").hr, S_OK);
    Read(scope.Get(), L"ZOLBEX11_TEST_PLAIN");
    ListOf(scope.Get());
    ASSERT_FALSE(platform_.keysUsed.empty());
    for (const auto& [root, path] : platform_.keysUsed) {
        EXPECT_EQ(root, GetParam().root);
        EXPECT_EQ(_wcsicmp(path.c_str(), GetParam().path), 0) << std::string(path.begin(), path.end());
    }
}

INSTANTIATE_TEST_SUITE_P(Scopes, StoredScopeTest, ::testing::ValuesIn(kScopes),
                         [](const auto& info) { return std::string(info.param.label); });

using MachineScopeTest = ComTest;

TEST_F(MachineScopeTest, RefusedWriteReachesTheCallerWithoutBroadcast) {
    const ValueAt at{HKEY_LOCAL_MACHINE, kMachineEnvironment, L"ZOLBEX11_TEST_PLAIN"};
    SavedValues saved({at});
    RemoveValue(at);
    RecordingPlatform refusing;
    refusing.refuseMachineWrites = true;
    platform::ScopedPlatform substitute(refusing);

    CallResult r = Write(NewSystemScope().Get(), at.name, L"refused");
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(ErrorOf(r).number, 26001);
    EXPECT_FALSE(GetText(at));
    EXPECT_TRUE(refusing.broadcasts.empty());
}

TEST(VariableTextTest, EachValueKindHasItsTextForm) {
    const struct {
        const char* label;
        Variant value;
        std::wstring text;
    } cases[] = {
        {"empty", Variant(), L""},
        {"text", Text(L"C:\\x"), L"C:\\x"},
        {"number", Long(-42), L"-42"},
        {"bytes: two to a unit, low byte first", ByteArray({'A', 0, 0x16, 0x04}), L"A\u0416"},
        {"odd final byte: a unit of its own", ByteArray({'A', 0, 'B'}), L"AB"},
        {"stored terminator kept", ByteArray({'A', 0, 0, 0}), std::wstring(L"A\0", 2)},
        {"no bytes", ByteArray({}), L""},
    };
    for (const auto& c : cases) EXPECT_EQ(VariableText(*c.value.Get()), c.text) << c.label;
}

}  // namespace
}  // namespace zolbex::testing
