// Key operations: KeyExists, CreateKey, DeleteKey and DeleteValue, with their exact errors.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

class RegistryKeyOperationsTest : public RegistryTest {};

bool Exists(RegistryObject* registry) {
    VARIANT_BOOL exists = 1;  // neither True nor False, so a missing write shows
    EXPECT_EQ(registry->get_KeyExists(&exists), S_OK) << "KeyExists never raises";
    EXPECT_TRUE(exists == VARIANT_TRUE || exists == VARIANT_FALSE);
    return exists == VARIANT_TRUE;
}

TEST_F(RegistryKeyOperationsTest, KeyExistsTellsWhetherTheKeyOpens) {
    MakeRawKey(Path(L"present"));
    const std::pair<LocationCase, bool> cases[] = {
        {{"existing key", kCurrentUser, Path(L"present")}, true},
        {{"missing key", kCurrentUser, Path(L"absent")}, false},
        {{"the root itself", kCurrentUser, L""}, true},
        {{"no root", 0, Path(L"present")}, false},
        {{"no root, no path", 0, L""}, false},
    };
    for (const auto& [where, expected] : cases) {
        Registry registry = Pointed(where);
        EXPECT_EQ(Exists(registry.Get()), expected) << where.what;
    }
}

TEST_F(RegistryKeyOperationsTest, CreateKeyMakesTheWholePathAndAcceptsWhatExists) {
    Registry registry = At(L"a\\b");
    for (int round = 0; round < 2; ++round) {  // creating, then finding it there
        VARIANT_BOOL created = VARIANT_FALSE;
        ASSERT_EQ(registry->CreateKey(&created), S_OK);
        EXPECT_EQ(created, VARIANT_TRUE);
        EXPECT_TRUE(RawKeyExists(Path(L"a\\b")));
    }
    registry->SetSectionKey(L"");  // the root itself: nothing to create
    VARIANT_BOOL created = VARIANT_FALSE;
    EXPECT_EQ(registry->CreateKey(&created), S_OK);
    EXPECT_EQ(created, VARIANT_TRUE);
}

TEST_F(RegistryKeyOperationsTest, DeleteKeyRemovesALeafKey) {
    MakeRawKey(Path(L"leaf"));
    Registry registry = At(L"leaf");
    VARIANT_BOOL deleted = VARIANT_FALSE;
    ASSERT_EQ(registry->DeleteKey(&deleted), S_OK);
    EXPECT_EQ(deleted, VARIANT_TRUE);
    EXPECT_FALSE(RawKeyExists(Path(L"leaf")));
}

TEST_F(RegistryKeyOperationsTest, DeleteValueRemovesOneValueIncludingTheUnnamedOne) {
    for (const wchar_t* name : {L"named", L""}) {
        PutRaw(Path(), name, REG_SZ, TextBytes(L"x"));
        PutRaw(Path(), L"kept", REG_SZ, TextBytes(L"y"));
        Registry registry = At(L"", name);
        VARIANT_BOOL deleted = VARIANT_FALSE;
        ASSERT_EQ(registry->DeleteValue(&deleted), S_OK);
        EXPECT_EQ(deleted, VARIANT_TRUE);
        EXPECT_FALSE(GetRaw(Path(), name));
        EXPECT_TRUE(GetRaw(Path(), L"kept"));
    }
}

enum class Operation { Create, DeleteKey, DeleteValue };

HRESULT Perform(RegistryObject* registry, Operation operation) {
    VARIANT_BOOL result = VARIANT_FALSE;
    switch (operation) {
        case Operation::Create: return registry->CreateKey(&result);
        case Operation::DeleteKey: return registry->DeleteKey(&result);
        case Operation::DeleteValue: return registry->DeleteValue(&result);
    }
    return E_FAIL;
}

TEST_F(RegistryKeyOperationsTest, FailuresRaise26001WithTheirExactDescriptions) {
    MakeRawKey(Path(L"parent\\child"));
    const std::wstring root = L"-2147483647";
    struct Case {
        const char* what;
        Operation operation;
        LONG classKey;
        std::wstring section;
        std::wstring valueKey;
        std::wstring description;
    } cases[] = {
        {"create without a root", Operation::Create, 0, Path(L"x"), L"",
         L"Failed to create registry Key: '" + Path(L"x")},
        {"create on a new object", Operation::Create, 0, L"", L"", L"Failed to create registry Key: '"},
        {"delete a key with sub-keys", Operation::DeleteKey, kCurrentUser, Path(L"parent"), L"",
         L"Failed to delete registry Key: '" + root + L"',Section: '" + Path(L"parent")},
        {"delete under HKEY_USERS", Operation::DeleteKey, kUsers, L"NoSuch\\Key", L"",
         L"Failed to delete registry Key: '-2147483645',Section: 'NoSuch\\Key"},
        {"delete a missing value", Operation::DeleteValue, kCurrentUser, Path(), L"Nope",
         L"Failed to delete registry Key: '" + root + L"',Section: '" + Path() + L"',Key: 'Nope"},
        {"delete a value of a missing key", Operation::DeleteValue, kCurrentUser, Path(L"absent"), L"v",
         L"Failed to open key '" + root + L"',Section: '" + Path(L"absent") + L"' for delete access"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Registry registry = Pointed(c.classKey, c.section, c.valueKey);
        ErrorSeen error = LastError(Perform(registry.Get(), c.operation));
        EXPECT_EQ(error.number, 26001);
        EXPECT_EQ(error.source, L"zolbex11.cRegistry");
        EXPECT_EQ(error.description, c.description);
        // The operation changed no property.
        EXPECT_EQ(registry->ClassKey(), c.classKey);
        EXPECT_EQ(registry->SectionKey(), c.section);
        EXPECT_EQ(registry->ValueKey(), c.valueKey);
    }
    EXPECT_TRUE(RawKeyExists(Path(L"parent\\child"))) << "a key with sub-keys stays";
}

TEST_F(RegistryKeyOperationsTest, ANewObjectHasTheDocumentedState) {
    Registry registry = MakeObject<RegistryObject>();
    LONG number = -1;
    registry->get_ClassKey(&number);
    EXPECT_EQ(number, 0);
    registry->get_ValueType(&number);
    EXPECT_EQ(number, REG_NONE);
    Bstr text(L"x");
    registry->get_SectionKey(text.Put());
    EXPECT_TRUE(text.Empty());
    registry->get_ValueKey(text.Put());
    EXPECT_TRUE(text.Empty());
    Variant dflt;
    registry->get_Default(dflt.Put());
    EXPECT_EQ(dflt.Type(), VT_EMPTY);
    VARIANT_BOOL expand = 1;
    registry->get_ExpandEnv(&expand);
    EXPECT_EQ(expand, VARIANT_FALSE);
}

}  // namespace
}  // namespace zolbex
