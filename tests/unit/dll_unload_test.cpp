// Freeing the built DLL gives back what it held: its type library, loaded once more by the
// client after the DLL is gone, has no more references than before the DLL was loaded (other
// tests of the same process may hold some).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "com_test_support.h"
#include "registration_test_support.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

// References to the DLL's type library held by others than the caller (oleaut32 hands out its
// cached library for the same path).
ULONG OthersReferences(const std::wstring& path) {
    ComPtr<ITypeLib> library;
    EXPECT_EQ(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put()), S_OK);
    return library.Detach()->Release();
}

TEST_F(ComTest, FreeingTheDllReleasesItsTypeInformation) {
    const wchar_t* named = _wgetenv(L"ZOLBEX11_DLL");
    if (!named || !*named) GTEST_SKIP() << "ZOLBEX11_DLL names no DLL";
    const std::wstring path = named;
    const ULONG before = OthersReferences(path);
    {
        BuiltDll dll;
        if (!dll.Loaded()) GTEST_SKIP() << "ZOLBEX11_DLL does not name a loadable DLL";
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(dll.Entry<GetClassObjectFn>("DllGetClassObject")(
                      CLSID_clsZolbexENVProcessA, IID_IClassFactory, reinterpret_cast<void**>(factory.Put())),
                  S_OK);
        ComPtr<IDispatch> object;
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(object.Put())), S_OK);
        std::vector<Variant> name;
        name.push_back(Text(L"PATH"));
        ASSERT_EQ(GetProperty(object.Get(), L"Environment", std::move(name)).hr, S_OK);
        object.Reset();
        factory.Reset();
        ASSERT_EQ(dll.Entry<PlainEntryFn>("DllCanUnloadNow")(), S_OK);
        // The check below can see a reference: the loaded DLL holds the library now.
        ASSERT_GT(OthersReferences(path), before);
    }
    ASSERT_EQ(GetModuleHandleW(path.c_str()), nullptr) << "something else keeps the DLL loaded";
    EXPECT_EQ(OthersReferences(path), before) << "the freed DLL left its type library referenced";
}

}  // namespace
}  // namespace zolbex::testing
