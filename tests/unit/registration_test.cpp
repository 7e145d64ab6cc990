// Self-registration: the built DLL's entry points per user and machine-wide, the keys they
// write and remove, and registration whose every allocation may fail, which answers with an
// error status instead of throwing out of the DLL and writes nothing. (The rule for two DLLs
// side by side has its own file, side_by_side_registration_test.cpp.)
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "failing_allocations.h"
#include "library/catalogue.h"
#include "library/registration.h"
#include "process_handles.h"
#include "registration_test_support.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

enum class Registered {
    Whole,       // every key registration records
    Nothing,     // none of them
    OtherSide,   // only what the other pointer size's DLL, still registered, shares with it
};

// Checks the keys registration records below `classes`.
void ExpectRegistration(HKEY classes, const std::wstring& dllPath, Registered state) {
    const bool present = state == Registered::Whole;
    const catalogue::Library& lib = catalogue::TheLibrary();
    for (const catalogue::Coclass& cls : lib.coclasses) {
        const std::wstring clsid = L"CLSID\\" + GuidText(cls.clsid);
        const std::wstring progId = L"ZOLBEX11." + Wide(cls.name);
        if (!cls.Creatable() || !present) {
            EXPECT_FALSE(KeyExists(classes, clsid)) << cls.name;
            if (!cls.Creatable()) continue;
            EXPECT_EQ(state == Registered::OtherSide, KeyExists(classes, progId)) << cls.name;
            continue;
        }
        EXPECT_EQ(ReadDefault(classes, clsid + L"\\InprocServer32"), dllPath);
        EXPECT_EQ(ReadDefault(classes, clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(ReadDefault(classes, clsid + L"\\ProgID"), progId);
        EXPECT_EQ(ReadDefault(classes, clsid + L"\\TypeLib"), GuidText(lib.libid));
        EXPECT_EQ(ReadDefault(classes, progId + L"\\CLSID"), GuidText(cls.clsid));
    }
    std::vector<GUID> iids;
    for (const catalogue::Interface& itf : lib.interfaces) iids.push_back(itf.iid);
    iids.push_back(IID_clsZolbex11RunTimeA___v0);
    for (const GUID& iid : iids) {
        const std::wstring key = L"Interface\\" + GuidText(iid);
        if (!present) {
            EXPECT_FALSE(KeyExists(classes, key));
            continue;
        }
        EXPECT_EQ(ReadDefault(classes, key + L"\\ProxyStubClsid32"), L"{00020424-0000-0000-C000-000000000046}");
        EXPECT_EQ(ReadDefault(classes, key + L"\\TypeLib"), GuidText(lib.libid));
    }
    const std::wstring typeLib = L"TypeLib\\" + GuidText(lib.libid) + L"\\2.1";
    // The platform key names the library's pointer size (the target test pins it to the tree).
    const std::wstring platform = sizeof(void*) == 8 ? L"win64" : L"win32";
    if (present) EXPECT_EQ(ReadDefault(classes, typeLib + L"\\0\\" + platform), dllPath);
    else EXPECT_FALSE(KeyExists(classes, state == Registered::OtherSide ? typeLib + L"\\0\\" + platform : typeLib));
}

// Whether the machine's other registry view registers the runtime class (the other DLL).
bool OtherViewRegistersRunTime() {
    return ProcessHasTwoRegistryViews() &&
           KeyExists(HKEY_LOCAL_MACHINE,
                     L"Software\\Classes\\CLSID\\" + GuidText(CLSID_clsZolbex11RunTimeA) + L"\\InprocServer32",
                     kOtherView);
}

TEST_F(BuiltDllTest, PerUserRegistrationNeedsNoMachineKeysAndIsRemovedWhole) {
    auto install = dll_.Entry<InstallFn>("DllInstall");
    HKEY classes = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &classes, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(install(TRUE, L"user"), S_OK);
    ExpectRegistration(classes, dll_.Path(), Registered::Whole);
    ASSERT_EQ(install(FALSE, L"USER"), S_OK);
    ExpectRegistration(classes, dll_.Path(), Registered::Nothing);
    RegCloseKey(classes);
}

TEST_F(BuiltDllTest, MachineRegistrationServesCreationByProgId) {
    auto registerServer = dll_.Entry<PlainEntryFn>("DllRegisterServer");
    auto unregisterServer = dll_.Entry<PlainEntryFn>("DllUnregisterServer");
    HKEY classes = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes", 0, KEY_READ, &classes), ERROR_SUCCESS);

    // Under WOW64 the WOW64 suite registers the 64-bit DLL too, which keeps the shared keys.
    const bool otherSide = OtherViewRegistersRunTime();
    ASSERT_EQ(unregisterServer(), S_OK);
    ExpectRegistration(classes, dll_.Path(), otherSide ? Registered::OtherSide : Registered::Nothing);
    CLSID clsid{};
    if (!otherSide) {
        EXPECT_NE(CLSIDFromProgID(L"ZOLBEX11.clsZolbex11RunTimeA", &clsid), S_OK);
    }

    // Registered again, as the rest of the suite needs it.
    ASSERT_EQ(registerServer(), S_OK);
    ExpectRegistration(classes, dll_.Path(), Registered::Whole);
    RegCloseKey(classes);

    // The library itself asks for its runtime class in lower case.
    ASSERT_EQ(CLSIDFromProgID(L"zolbex11.clsZolbex11RunTimeA", &clsid), S_OK);
    EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_clsZolbex11RunTimeA));
    ComPtr<_clsZolbex11RunTimeA> runTime;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID__clsZolbex11RunTimeA,
                               reinterpret_cast<void**>(runTime.Put())), S_OK);
    ComPtr<IUnknown> alias;
    ASSERT_EQ(runTime->QueryInterface(IID_clsZolbex11RunTimeA___v0, reinterpret_cast<void**>(alias.Put())), S_OK);
    EXPECT_EQ(static_cast<void*>(alias.Get()), static_cast<void*>(runTime.Get()));
}

// Registration into a scratch classes root, with each allocation of the run failing in turn.
TEST(RegistrationUnderExhaustionTest, EveryFailedAllocationIsAnErrorStatusAndNoKeyStaysOpen) {
    constexpr wchar_t kRoot[] = L"Software\\ZOLBEX11 Tests\\Registration";
    auto withRoot = [&](auto&& body) {
        HKEY root = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root, nullptr),
                  ERROR_SUCCESS);
        body(root);
        RegCloseKey(root);
    };
    size_t allocations = 0;
    withRoot([&](HKEY root) {
        // What is made once for the process (texts, cached handles) is made now.
        ASSERT_EQ(RegisterInto(root), S_OK);
        ASSERT_EQ(UnregisterFrom(root, nullptr), S_OK);
        FailingAllocations counting(0);
        ASSERT_EQ(RegisterInto(root), S_OK);
        allocations = counting.Made();
    });
    ASSERT_GT(allocations, 0u);

    {
        // The test's own machinery makes its handles on first use: a trace, a thrown exception.
        SCOPED_TRACE("warming up");
        try {
            throw std::bad_alloc();
        } catch (const std::bad_alloc&) {
        }
    }
    const size_t handlesBefore = OpenHandlesOfThisProcess();
    ASSERT_GT(handlesBefore, 0u) << "the system's handle table cannot be read";
    // Spread over the whole run: the first allocations, the last ones and those between.
    for (size_t step = 0; step <= 24; ++step) {
        const size_t failAt = 1 + (allocations - 1) * step / 24;
        SCOPED_TRACE("allocation " + std::to_string(failAt) + " of " + std::to_string(allocations));
        withRoot([&](HKEY root) {
            HRESULT registered = S_OK, unregistered = S_OK;
            {
                FailingAllocations failing(failAt);
                registered = RegisterInto(root);
                EXPECT_TRUE(failing.Failed());
            }
            EXPECT_EQ(registered, E_OUTOFMEMORY);
            {
                FailingAllocations failing(failAt);
                unregistered = UnregisterFrom(root, nullptr);
            }
            EXPECT_TRUE(unregistered == S_OK || unregistered == E_OUTOFMEMORY);
        });
    }
    EXPECT_EQ(OpenHandlesOfThisProcess(), handlesBefore) << "keys left open";

    // The same through the entry point's own classes root (the current user's): every text is
    // built before the root is opened for writing, so a failure writes nothing there either.
    HKEY userClasses = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, 0, KEY_READ, nullptr,
                              &userClasses, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(UnregisterServer(RegistrationScope::User), S_OK);
    ExpectRegistration(userClasses, L"", Registered::Nothing);
    const size_t handlesWithRoot = OpenHandlesOfThisProcess();
    for (size_t step = 0; step <= 8; ++step) {
        const size_t failAt = 1 + (allocations - 1) * step / 8;
        SCOPED_TRACE("allocation " + std::to_string(failAt) + " of " + std::to_string(allocations));
        HRESULT registered = S_OK;
        {
            FailingAllocations failing(failAt);
            registered = RegisterServer(RegistrationScope::User);
        }
        EXPECT_EQ(registered, E_OUTOFMEMORY);
        ExpectRegistration(userClasses, L"", Registered::Nothing);
        if (registered == S_OK) UnregisterServer(RegistrationScope::User);
    }
    EXPECT_EQ(OpenHandlesOfThisProcess(), handlesWithRoot) << "the classes root left open";
    RegCloseKey(userClasses);
    RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    RegDeleteKeyW(HKEY_CURRENT_USER, kRoot);
}

}  // namespace
}  // namespace zolbex::testing
