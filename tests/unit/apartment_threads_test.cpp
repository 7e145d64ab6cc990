// Several threads, each in an apartment of its own, making objects of every creatable class
// through its class factory and calling every member for a bounded number of rounds (side
// effects in the sandbox). Nothing crashes, every object ends, and the library may be unloaded
// exactly when no object, no factory and no lock is left.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "com_test_support.h"
#include "library/catalogue.h"
#include "library/class_factory.h"
#include "library/class_table.h"
#include "library/expansion_setting.h"
#include "sandbox_platform.h"

namespace zolbex {
namespace {

using namespace testing;

constexpr int kThreads = 4;
constexpr int kRounds = 40;

WORD FlagsOf(catalogue::MemberKind kind) {
    switch (kind) {
        case catalogue::MemberKind::PropertyGet: return DISPATCH_PROPERTYGET;
        case catalogue::MemberKind::PropertyLet:
        case catalogue::MemberKind::UndescribedLet: return DISPATCH_PROPERTYPUT;
        case catalogue::MemberKind::PropertySet: return DISPATCH_PROPERTYPUTREF;
        default: return DISPATCH_METHOD;
    }
}

// One thread's work: every creatable class, every member called once per round.
int Work(std::atomic<int>& failures) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        ++failures;
        return 0;
    }
    int calls = 0;
    const catalogue::Library& lib = catalogue::TheLibrary();
    for (int round = 0; round < kRounds; ++round) {
        for (const catalogue::Coclass& cls : lib.coclasses) {
            ClassCreator create = FindCreator(cls.clsid);
            if (!create) continue;
            ComPtr<IClassFactory> factory;
            if (FAILED(GetClassFactory(create, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())))) {
                ++failures;
                continue;
            }
            ComPtr<IDispatch> object;
            if (FAILED(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.Put())))) {
                ++failures;
                continue;
            }
            for (const catalogue::Member& member : lib.FindInterface(cls.interfaceName)->members) {
                // A put gets one argument, an empty text; everything else none.
                Variant value = Text(L"");
                DISPID put = DISPID_PROPERTYPUT;
                const WORD flags = FlagsOf(member.kind);
                const bool isPut = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
                DISPPARAMS params{isPut ? value.Get() : nullptr, isPut ? &put : nullptr, isPut ? 1u : 0u, isPut ? 1u : 0u};
                Variant result;
                EXCEPINFO exception{};
                object->Invoke(member.dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.Put(), &exception,
                               nullptr);
                SysFreeString(exception.bstrSource);
                SysFreeString(exception.bstrDescription);
                SysFreeString(exception.bstrHelpFile);
                ++calls;
            }
        }
    }
    SetThreadExpansionSetting(VARIANT_FALSE);
    CoUninitialize();
    return calls;
}

TEST(ApartmentThreadsTest, ThreadsInTheirOwnApartmentsUseEveryClassAndLeaveTheLibraryUnloadable) {
    SandboxPlatform sandbox;
    platform::ScopedPlatform scoped(sandbox);
    ASSERT_TRUE(module::CanUnload());

    std::atomic<int> failures{0};
    std::atomic<int> calls{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) threads.emplace_back([&] { calls += Work(failures); });
    for (std::thread& thread : threads) thread.join();

    EXPECT_EQ(failures.load(), 0) << "a factory or a creation failed";
    EXPECT_GT(calls.load(), 0);
    EXPECT_EQ(module::LiveObjects(), 0);
    EXPECT_TRUE(module::CanUnload());
    EXPECT_EQ(sandbox.OpenKeys(), 0);
}

TEST(ApartmentThreadsTest, TheLibraryCannotBeUnloadedWhileAnObjectOrALockLives) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(GetClassFactory(NewRegistry, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
        ComPtr<IDispatch> object;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.Put())), S_OK);
        EXPECT_FALSE(module::CanUnload()) << "an object lives";
        object.Reset();
        EXPECT_FALSE(module::CanUnload()) << "a factory lives";
        factory->LockServer(TRUE);
        factory.Reset();
        EXPECT_FALSE(module::CanUnload()) << "a lock is held";
        ASSERT_EQ(GetClassFactory(NewRegistry, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
        factory->LockServer(FALSE);
    }
    EXPECT_TRUE(module::CanUnload());
    CoUninitialize();
}

}  // namespace
}  // namespace zolbex
