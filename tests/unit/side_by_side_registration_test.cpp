// The 32-bit and the 64-bit DLL side by side, as on 64-bit Windows: each registers its classes
// and interfaces in its own registry view, while the ProgIDs and the type library are one key
// seen from both. Unregistering one removes its own keys and platform entry, and the library's
// ProgIDs and type-library version key only with the last class registered in either view.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "registration_test_support.h"
#include "library/catalogue.h"
#include "library/registration.h"

namespace zolbex::testing {
namespace {

constexpr const wchar_t* kOwnPlatform = sizeof(void*) == 8 ? L"win64" : L"win32";
constexpr const wchar_t* kOtherPlatform = sizeof(void*) == 8 ? L"win32" : L"win64";
constexpr wchar_t kOtherDll[] = L"C:\\Other Side\\zolbex11.dll";

const catalogue::Library& Lib() { return catalogue::TheLibrary(); }

std::vector<const catalogue::Coclass*> CreatableClasses() {
    std::vector<const catalogue::Coclass*> classes;
    for (const catalogue::Coclass& cls : Lib().coclasses)
        if (cls.Creatable()) classes.push_back(&cls);
    return classes;
}

std::wstring ClassKey(const catalogue::Coclass& cls) { return L"CLSID\\" + GuidText(cls.clsid); }
std::wstring ServerKey(const catalogue::Coclass& cls) { return ClassKey(cls) + L"\\InprocServer32"; }
std::wstring ProgIdKey(const catalogue::Coclass& cls) { return L"ZOLBEX11." + Wide(cls.name); }
std::wstring TypeLibKey() { return L"TypeLib\\" + GuidText(Lib().libid); }
std::wstring VersionKey() { return TypeLibKey() + L"\\2.1"; }
std::wstring PlatformKey(const wchar_t* platform) { return VersionKey() + L"\\0\\" + platform; }

// Writes a key's default value, creating the key in the view `view` names; true when it did.
bool WriteDefault(HKEY root, const std::wstring& path, const std::wstring& value, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void DeleteTree(HKEY root, const std::wstring& path, REGSAM view = 0) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS) return;
    RegDeleteTreeW(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExW(root, path.c_str(), view, 0);
}

// ---- The rule, below two scratch roots standing for the two views ---------------------
// Like a classes root, `own` holds the shared keys (ProgIDs, TypeLib) and this side's classes;
// `other` holds what the other view registers.

enum class OtherSide { None, EveryClass, FirstClass, LeftoversOnly };
enum class Kept { None, Every, First };

struct ViewCase {
    const char* name;
    OtherSide other;
    Kept progIds;        // which ProgIDs stay
    bool versionKept;    // whether the type library's version key stays
};

void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

const ViewCase kViewCases[] = {
    {"NoOtherView", OtherSide::None, Kept::None, false},
    {"OtherViewRegistersEveryClass", OtherSide::EveryClass, Kept::Every, true},
    {"OtherViewRegistersOneClass", OtherSide::FirstClass, Kept::First, true},
    // A platform that keeps ProgIDs per view (Wine below HKLM) left the other side's copies.
    {"OtherViewHoldsOnlyLeftovers", OtherSide::LeftoversOnly, Kept::None, false},
};

class SideBySideRuleTest : public ::testing::TestWithParam<ViewCase> {
protected:
    static constexpr wchar_t kScratch[] = L"Software\\ZOLBEX11 Tests\\SideBySide";
    void SetUp() override {
        DeleteTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kScratch) + L"\\Own").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &own_, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kScratch) + L"\\Other").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &other_, nullptr), ERROR_SUCCESS);
    }
    void TearDown() override {
        if (own_) RegCloseKey(own_);
        if (other_) RegCloseKey(other_);
        DeleteTree(HKEY_CURRENT_USER, kScratch);
    }
    HKEY own_ = nullptr;
    HKEY other_ = nullptr;
};

TEST_P(SideBySideRuleTest, UnregisteringRemovesOwnKeysAndSharedOnesWithTheLastClass) {
    const ViewCase& c = GetParam();
    const auto classes = CreatableClasses();
    ASSERT_GE(classes.size(), 2u);
    ASSERT_EQ(RegisterInto(own_), S_OK);
    auto otherRegisters = [&](size_t i) {
        return c.other == OtherSide::EveryClass || (c.other == OtherSide::FirstClass && i == 0);
    };
    for (size_t i = 0; i < classes.size(); ++i) {
        if (otherRegisters(i)) {
            ASSERT_TRUE(WriteDefault(other_, ServerKey(*classes[i]), kOtherDll, kOtherView));
        }
        if (c.other == OtherSide::LeftoversOnly) {
            ASSERT_TRUE(WriteDefault(other_, ProgIdKey(*classes[i]) + L"\\CLSID", GuidText(classes[i]->clsid)));
        }
    }
    if (c.other == OtherSide::EveryClass || c.other == OtherSide::FirstClass) {
        ASSERT_TRUE(WriteDefault(own_, PlatformKey(kOtherPlatform), kOtherDll));
    }
    if (c.other == OtherSide::LeftoversOnly) {
        ASSERT_TRUE(WriteDefault(other_, PlatformKey(kOtherPlatform), kOtherDll));
    }

    ASSERT_EQ(UnregisterFrom(own_, c.other == OtherSide::None ? nullptr : other_), S_OK);

    for (size_t i = 0; i < classes.size(); ++i) {
        const catalogue::Coclass& cls = *classes[i];
        SCOPED_TRACE(cls.name);
        EXPECT_FALSE(KeyExists(own_, ClassKey(cls)));
        const bool kept = c.progIds == Kept::Every || (c.progIds == Kept::First && i == 0);
        EXPECT_EQ(kept, KeyExists(own_, ProgIdKey(cls)));
        EXPECT_FALSE(KeyExists(other_, ProgIdKey(cls)));
        EXPECT_EQ(otherRegisters(i), ReadDefault(other_, ServerKey(cls), nullptr, kOtherView) == kOtherDll);
    }
    for (const catalogue::Interface& itf : Lib().interfaces)
        EXPECT_FALSE(KeyExists(own_, L"Interface\\" + GuidText(itf.iid))) << itf.name;
    EXPECT_FALSE(KeyExists(own_, PlatformKey(kOwnPlatform)));
    EXPECT_EQ(c.versionKept, KeyExists(own_, VersionKey()));
    EXPECT_EQ(c.versionKept, ReadDefault(own_, PlatformKey(kOtherPlatform)) == kOtherDll);
    if (c.versionKept) {
        EXPECT_TRUE(KeyExists(own_, VersionKey() + L"\\FLAGS"));
    } else {
        EXPECT_FALSE(KeyExists(own_, TypeLibKey()));
    }
    EXPECT_FALSE(KeyExists(other_, VersionKey()));
}

INSTANTIATE_TEST_SUITE_P(Views, SideBySideRuleTest, ::testing::ValuesIn(kViewCases),
                         [](const ::testing::TestParamInfo<ViewCase>& info) { return info.param.name; });

// ---- The rule through the machine's real classes root and both registry views ----------
// The built DLL unregistered with its entry point while the other view registers the classes
// (the other DLL itself where the WOW64 suite registered it, else its keys written here).

TEST_F(BuiltDllTest, UnregisteringOneSideLeavesTheOtherViewsRegistrationWhole) {
    if (!ProcessHasTwoRegistryViews()) GTEST_SKIP() << "one registry view: 32-bit Windows has no other DLL side by side";
    auto registerServer = dll_.Entry<PlainEntryFn>("DllRegisterServer");
    auto unregisterServer = dll_.Entry<PlainEntryFn>("DllUnregisterServer");
    HKEY own = nullptr, other = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, KEY_ALL_ACCESS, &own), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, KEY_ALL_ACCESS | kOtherView, &other),
              ERROR_SUCCESS);
    ASSERT_EQ(registerServer(), S_OK);

    // What this test writes for the other side, removed again at its end.
    std::vector<std::wstring> written;
    const auto classes = CreatableClasses();
    for (const catalogue::Coclass* cls : classes)
        if (!KeyExists(other, ServerKey(*cls), kOtherView)) {
            ASSERT_TRUE(WriteDefault(other, ServerKey(*cls), kOtherDll, kOtherView));
            written.push_back(ClassKey(*cls));
        }
    const bool otherPlatformWritten = !KeyExists(own, PlatformKey(kOtherPlatform));
    if (otherPlatformWritten) {
        ASSERT_TRUE(WriteDefault(own, PlatformKey(kOtherPlatform), kOtherDll));
    }
    const bool otherIsReal = written.empty();

    ASSERT_EQ(unregisterServer(), S_OK);
    for (const catalogue::Coclass* cls : classes) {
        SCOPED_TRACE(cls->name);
        EXPECT_FALSE(KeyExists(own, ClassKey(*cls))) << "this view's class";
        EXPECT_TRUE(KeyExists(other, ServerKey(*cls), kOtherView)) << "the other view's class";
        EXPECT_EQ(ReadDefault(own, ProgIdKey(*cls) + L"\\CLSID"), GuidText(cls->clsid)) << "the shared ProgID";
    }
    EXPECT_FALSE(KeyExists(own, PlatformKey(kOwnPlatform)));
    EXPECT_TRUE(KeyExists(own, PlatformKey(kOtherPlatform)));
    EXPECT_TRUE(KeyExists(own, VersionKey() + L"\\FLAGS"));

    // Without the other side, the last unregistration leaves nothing of the library in either view.
    for (const std::wstring& key : written) DeleteTree(other, key, kOtherView);
    if (otherPlatformWritten) DeleteTree(own, PlatformKey(kOtherPlatform));
    if (!otherIsReal) {
        ASSERT_EQ(unregisterServer(), S_OK);
        for (const catalogue::Coclass* cls : classes) {
            EXPECT_FALSE(KeyExists(own, ProgIdKey(*cls))) << cls->name;
            EXPECT_FALSE(KeyExists(other, ProgIdKey(*cls), kOtherView)) << cls->name;
        }
        EXPECT_FALSE(KeyExists(own, TypeLibKey()));
        EXPECT_FALSE(KeyExists(other, TypeLibKey(), kOtherView));
    }
    // Registered again, as the rest of the suite needs it.
    EXPECT_EQ(registerServer(), S_OK);
    RegCloseKey(own);
    RegCloseKey(other);
}

}  // namespace
}  // namespace zolbex::testing
