// The library frame: the built DLL's entry points, class factories and unloading, and the
// frame's own classes (empty class, holder, runtime fields, per-thread data).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "com_test_support.h"
#include "registration_test_support.h"
#include "library/catalogue.h"
#include "library/class_table.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

TEST_F(BuiltDllTest, FactoriesExistForTheCreatableClassesOnly) {
    auto getClassObject = dll_.Entry<GetClassObjectFn>("DllGetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    for (const catalogue::Coclass& cls : catalogue::TheLibrary().coclasses) {
        ComPtr<IClassFactory> factory;
        HRESULT hr = getClassObject(cls.clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.Put()));
        if (!cls.Creatable()) {
            EXPECT_EQ(hr, CLASS_E_CLASSNOTAVAILABLE) << cls.name;
            continue;
        }
        ASSERT_EQ(hr, S_OK) << cls.name;
        ComPtr<IDispatch> object;
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.Put())), S_OK)
            << cls.name;
    }
    ComPtr<IClassFactory> none;
    EXPECT_EQ(getClassObject(IID_IDispatch, IID_IClassFactory, reinterpret_cast<void**>(none.Put())),
              CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(BuiltDllTest, CanUnloadOnlyWhenNoObjectFactoryEnumeratorOrLockRemains) {
    auto getClassObject = dll_.Entry<GetClassObjectFn>("DllGetClassObject");
    auto canUnload = dll_.Entry<PlainEntryFn>("DllCanUnloadNow");
    ASSERT_EQ(canUnload(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_clsZolbexENVProcessA, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE) << "a factory is alive";
    ComPtr<_clsZolbexENVProcessA> scope;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID__clsZolbexENVProcessA, reinterpret_cast<void**>(scope.Put())), S_OK);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_FALSE) << "an object is alive";

    // An enumerator that outlives the scope and the collection it was taken from.
    ComPtr<IUnknown> enumerator;
    {
        ComPtr<_clsZolbexENVValuePairsA> pairs;
        ASSERT_EQ(scope->get_List(pairs.Put()), S_OK);
        ASSERT_EQ(pairs->NewEnum(enumerator.Put()), S_OK);
    }
    scope.Reset();
    EXPECT_EQ(canUnload(), S_FALSE) << "an enumerator is alive";
    enumerator.Reset();
    EXPECT_EQ(canUnload(), S_OK);

    // A lock alone keeps the DLL; an unlock beyond the locks is ignored, so the lock taken
    // after it still counts.
    ASSERT_EQ(getClassObject(CLSID_clsZolbexENVProcessA, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
    factory->LockServer(TRUE);
    factory->LockServer(FALSE);
    factory->LockServer(FALSE);
    factory->LockServer(TRUE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_FALSE) << "a lock is held";
    ASSERT_EQ(getClassObject(CLSID_clsZolbexENVProcessA, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())), S_OK);
    factory->LockServer(FALSE);
    factory.Reset();
    EXPECT_EQ(canUnload(), S_OK);
}

// A client that keeps a class factory across CoFreeUnusedLibrariesEx (as a script host may)
// must keep the DLL loaded and be able to create objects with it.
TEST_F(ComTest, FactoryHeldAcrossFreeUnusedLibrariesKeepsTheDllLoaded) {
    std::wstring path;
    {
        BuiltDll dll;  // registers the DLL machine-wide, then drops its own load
        if (!dll.Loaded()) GTEST_SKIP() << "ZOLBEX11_DLL does not name a loadable DLL";
        ASSERT_EQ(dll.Entry<PlainEntryFn>("DllRegisterServer")(), S_OK);
        path = dll.Path();
    }
    ASSERT_EQ(GetModuleHandleW(path.c_str()), nullptr) << "something else keeps the DLL loaded";

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_clsZolbexENVProcessA, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(factory.Put())), S_OK);
    ASSERT_NE(GetModuleHandleW(path.c_str()), nullptr);
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_NE(GetModuleHandleW(path.c_str()), nullptr) << "the DLL was unloaded under a held factory";

    ComPtr<IDispatch> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.Put())), S_OK);
    std::vector<Variant> name;
    name.push_back(Text(L"PATH"));
    EXPECT_EQ(GetProperty(object.Get(), L"Environment", std::move(name)).hr, S_OK);
    object.Reset();
    factory.Reset();

    // Nothing held: now it may go.
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleW(path.c_str()), nullptr);
}

// ---- The frame's own classes, linked into the test -----------------------------------

using FrameTest = ComTest;

TEST_F(FrameTest, EmptyClassKnowsNoNames) {
    ComPtr<IDispatch> empty = NewEmptyObject();
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Anything")};
    EXPECT_EQ(empty->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(FrameTest, RuntimeAnswersUnderBothInterfaceIdentifiers) {
    ComPtr<IDispatch> runTime = NewRunTime();
    ComPtr<IUnknown> first = runTime.As<IUnknown>(IID__clsZolbex11RunTimeA);
    ComPtr<IUnknown> second = runTime.As<IUnknown>(IID_clsZolbex11RunTimeA___v0);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first.Get(), second.Get());
}

TEST_F(FrameTest, AutoCreatedFieldsKeepTheirObjectUntilSetAgain) {
    struct Field {
        ComPtr<IDispatch> owner;
        const wchar_t* name;
        bool freshObjectDiffers;  // Wine's file-system object is one shared instance
    };
    const Field fields[] = {
        {NewRunTime(), L"goRegistry", true},
        {NewRunTime(), L"goFSO", false},
        {NewHolder(), L"m_clsZolbex11RunTimeA", true},
        {NewHolder(), L"m_clsZolbexENVRegistryA", true},
    };
    for (const Field& field : fields) {
        SCOPED_TRACE(std::string(field.name, field.name + wcslen(field.name)));
        CallResult first = GetProperty(field.owner.Get(), field.name);
        CallResult second = GetProperty(field.owner.Get(), field.name);
        ASSERT_EQ(first.hr, S_OK);
        ASSERT_EQ(first.value.Type(), VT_DISPATCH);
        ASSERT_NE(V_DISPATCH(first.value.Get()), nullptr);
        EXPECT_EQ(V_DISPATCH(first.value.Get()), V_DISPATCH(second.value.Get()));

        Variant nothing;
        V_VT(nothing.Get()) = VT_DISPATCH;
        V_DISPATCH(nothing.Get()) = nullptr;
        ASSERT_EQ(PutRefProperty(field.owner.Get(), field.name, std::move(nothing)).hr, S_OK);
        CallResult fresh = GetProperty(field.owner.Get(), field.name);
        ASSERT_EQ(fresh.hr, S_OK);
        EXPECT_NE(V_DISPATCH(fresh.value.Get()), nullptr);
        if (field.freshObjectDiffers) {
            EXPECT_NE(V_DISPATCH(fresh.value.Get()), V_DISPATCH(first.value.Get()));
        }
    }
}

TEST_F(FrameTest, HolderCreatesNothingForFieldsNeverRead) {
    const long made = module::ObjectsMade();
    const long before = module::LiveObjects();
    {
        ComPtr<IDispatch> holder = NewHolder();
        EXPECT_EQ(module::ObjectsMade(), made + 1);
    }
    EXPECT_EQ(module::LiveObjects(), before);
    // Not even for a moment: no field object was made (and released again) as the holder went.
    EXPECT_EQ(module::ObjectsMade(), made + 1);
}

// A let of an object (what a script's plain assignment of an object becomes) to a field that
// only has a set stores the object, as the set does.
TEST_F(FrameTest, ALetOfAnObjectToAnObjectFieldStoresIt) {
    struct Case {
        ComPtr<IDispatch> owner;
        const wchar_t* field;
        ComPtr<IDispatch> value;
    };
    Case cases[] = {
        {NewRunTime(), L"goRegistry", NewRegistry()},
        {NewHolder(), L"m_clsZolbex11RunTimeA", NewRunTime()},
        {NewHolder(), L"m_clsZolbexENVRegistryA", NewRegistry()},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(std::string(c.field, c.field + wcslen(c.field)));
        Variant object;
        V_VT(object.Get()) = VT_DISPATCH;
        V_DISPATCH(object.Get()) = c.value.AddRefAndGet();
        std::vector<Variant> args;
        args.push_back(std::move(object));
        ASSERT_EQ(PutProperty(c.owner.Get(), c.field, std::move(args)).hr, S_OK);
        CallResult read = GetProperty(c.owner.Get(), c.field);
        ASSERT_EQ(read.hr, S_OK);
        ASSERT_EQ(read.value.Type(), VT_DISPATCH);
        ComPtr<IUnknown> got = ComPtr<IDispatch>(V_DISPATCH(read.value.Get())).As<IUnknown>(IID_IUnknown);
        EXPECT_EQ(got.Get(), c.value.As<IUnknown>(IID_IUnknown).Get());
    }
}

TEST_F(FrameTest, HolderReleasesItsFieldsWithItself) {
    const long before = module::LiveObjects();
    {
        ComPtr<IDispatch> holder = NewHolder();
        ASSERT_EQ(GetProperty(holder.Get(), L"m_clsZolbex11RunTimeA").hr, S_OK);
        ASSERT_EQ(GetProperty(holder.Get(), L"m_clsZolbexENVRegistryA").hr, S_OK);
        EXPECT_EQ(module::LiveObjects(), before + 3);
    }
    EXPECT_EQ(module::LiveObjects(), before);
}

// Logs its own release; stands in for the objects a holder keeps (the holder only releases them).
class ReleaseRecorder final : public IUnknown {
public:
    ReleaseRecorder(std::vector<std::string>& log, const char* name) : log_(log), name_(name) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (--references_ == 0) {
            log_.push_back(name_);
            delete this;
            return 0;
        }
        return references_;
    }

private:
    std::vector<std::string>& log_;
    const char* name_;
    ULONG references_ = 1;
};

TEST_F(FrameTest, HolderReleasesItsRuntimeObjectBeforeItsRegistryObject) {
    std::vector<std::string> log;
    ComPtr<_HV_ZOLBEX11> holder = Create<_HV_ZOLBEX11>(NewHolder);
    // Set the registry field first, so that creation order cannot explain the release order.
    auto* registry = new ReleaseRecorder(log, "registry");
    auto* runTime = new ReleaseRecorder(log, "runtime");
    holder->putref_m_clsZolbexENVRegistryA(reinterpret_cast<_clsZolbexENVRegistryA*>(registry));
    holder->putref_m_clsZolbex11RunTimeA(reinterpret_cast<_clsZolbex11RunTimeA*>(runTime));
    registry->Release();
    runTime->Release();
    EXPECT_TRUE(log.empty());
    holder.Reset();
    EXPECT_EQ(log, (std::vector<std::string>{"runtime", "registry"}));
}

VARIANT_BOOL ReadExpandSetting(IDispatch* runTime) {
    CallResult r = GetProperty(runTime, L"ExpandEnvVar");
    EXPECT_EQ(r.hr, S_OK);
    return V_BOOL(r.value.Get());
}

TEST_F(FrameTest, ExpansionSettingIsSharedPerThread) {
    ComPtr<IDispatch> one = NewRunTime();
    ComPtr<IDispatch> other = NewRunTime();
    EXPECT_EQ(ReadExpandSetting(one.Get()), VARIANT_FALSE);
    std::vector<Variant> value;
    value.push_back(Bool(true));
    ASSERT_EQ(PutProperty(one.Get(), L"ExpandEnvVar", std::move(value)).hr, S_OK);
    EXPECT_EQ(ReadExpandSetting(other.Get()), VARIANT_TRUE);

    VARIANT_BOOL onNewThread = 7;
    std::thread([&] {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        {
            ComPtr<IDispatch> there = NewRunTime();
            onNewThread = ReadExpandSetting(there.Get());
        }
        CoUninitialize();
    }).join();
    EXPECT_EQ(onNewThread, VARIANT_FALSE);

    value.clear();
    value.push_back(Bool(false));
    PutProperty(one.Get(), L"ExpandEnvVar", std::move(value));
}

}  // namespace
}  // namespace zolbex::testing
