// Every operation opens at most one key with the access it needs and closes it again on every
// path, success or error: no handle survives a call.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

Variant Null() {
    Variant v;
    V_VT(v.Get()) = VT_NULL;
    return v;
}

struct HandleCase {
    const char* what;
    std::function<void(RegistryObject&, CountingPlatform&)> arrange;
    std::function<HRESULT(RegistryObject&)> act;
    REGSAM access;  // 0: no key is opened at all
    int opens;      // handles the call obtains
    bool succeeds;
};

HRESULT GetValue(RegistryObject& r) {
    Variant value;
    return r.get_Value(value.Put());
}

HRESULT PutValue(RegistryObject& r, LONG valueType, Variant value) {
    r.SetValueType(valueType);
    return r.put_Value(*value.Get());
}

// COM members are __stdcall on i686, part of the member pointer's type.
using ListingMember = HRESULT (STDMETHODCALLTYPE RegistryObject::*)(SAFEARRAY**, LONG*, VARIANT_BOOL*);

template <ListingMember member>
HRESULT List(RegistryObject& r) {
    SAFEARRAY* names = nullptr;
    LONG count = 0;
    VARIANT_BOOL result = VARIANT_FALSE;
    HRESULT hr = (r.*member)(&names, &count, &result);
    SafeArrayDestroy(names);
    return hr;
}

const auto ListValues = List<&RegistryObject::EnumerateValues>;
const auto ListSections = List<&RegistryObject::EnumerateSections>;

class RegistryHandlesTest : public RegistryTest {};

TEST_F(RegistryHandlesTest, EveryOpenedKeyIsClosedOnEveryPath) {
    auto none = [](RegistryObject&, CountingPlatform&) {};
    auto missingKey = [](RegistryObject& r, CountingPlatform&) { r.SetSectionKey(RegistryTest::Path(L"absent")); };
    auto noRoot = [](RegistryObject& r, CountingPlatform&) { r.SetClassKey(0); };
    auto missingValue = [](RegistryObject& r, CountingPlatform&) { r.SetValueKey(L"absent"); };
    auto bool_ = [](HRESULT (STDMETHODCALLTYPE RegistryObject::*member)(VARIANT_BOOL*)) {
        return [member](RegistryObject& r) {
            VARIANT_BOOL result;
            return (r.*member)(&result);
        };
    };
    const REGSAM query = kQueryAccess, write = kWriteAccess, list = kListSubKeysAccess;
    const std::vector<HandleCase> cases = {
        {"KeyExists, existing key", none, bool_(&RegistryObject::get_KeyExists), query, 1, true},
        {"KeyExists, missing key", missingKey, bool_(&RegistryObject::get_KeyExists), query, 0, true},
        {"CreateKey", none, bool_(&RegistryObject::CreateKey), write, 1, true},
        {"CreateKey without a root", noRoot, bool_(&RegistryObject::CreateKey), write, 0, false},
        {"DeleteKey opens nothing", missingKey, bool_(&RegistryObject::DeleteKey), 0, 0, false},
        {"DeleteValue", none, bool_(&RegistryObject::DeleteValue), write, 1, true},
        {"DeleteValue of a missing value", missingValue, bool_(&RegistryObject::DeleteValue), write, 1, false},
        {"DeleteValue in a missing key", missingKey, bool_(&RegistryObject::DeleteValue), write, 0, false},
        {"Value get", none, GetValue, query, 1, true},
        {"Value get of a missing value", missingValue, GetValue, query, 1, true},
        {"Value get in a missing key", missingKey, GetValue, query, 0, true},
        {"Value get failing in the runtime",
         [](RegistryObject&, CountingPlatform& p) { p.beforeQueryValue = [] { throw std::bad_alloc(); }; }, GetValue,
         query, 1, false},
        {"Value let", none, [](RegistryObject& r) { return PutValue(r, REG_SZ, Text(L"x")); }, write, 1, true},
        {"Value let without a root", noRoot, [](RegistryObject& r) { return PutValue(r, REG_SZ, Text(L"x")); }, write,
         0, false},
        {"Value let, binary from text", none, [](RegistryObject& r) { return PutValue(r, REG_BINARY, Text(L"x")); },
         write, 1, false},
        {"Value let, text from Null", none, [](RegistryObject& r) { return PutValue(r, REG_SZ, Null()); }, write, 1,
         false},
        {"Value let, dword from no number", none,
         [](RegistryObject& r) { return PutValue(r, REG_DWORD, Text(L"x")); }, write, 1, false},
        {"Value let, type without a layout", none, [](RegistryObject& r) { return PutValue(r, REG_NONE, Text(L"x")); },
         write, 1, false},
        {"Value let, store refused",
         [](RegistryObject&, CountingPlatform& p) { p.setValueResult = ERROR_ACCESS_DENIED; },
         [](RegistryObject& r) { return PutValue(r, REG_SZ, Text(L"x")); }, write, 1, false},
        {"EnumerateValues", none, ListValues, query, 1, true},
        {"EnumerateValues, key info refused",
         [](RegistryObject&, CountingPlatform& p) { p.queryKeyInfoResult = ERROR_ACCESS_DENIED; }, ListValues, query, 1,
         true},
        {"EnumerateValues failing in the runtime",
         [](RegistryObject&, CountingPlatform& p) { p.beforeEnumValue = [](DWORD) { throw std::bad_alloc(); }; },
         ListValues, query, 1, false},
        {"EnumerateSections", none, ListSections, list, 1, true},
        {"EnumerateSections failing in the runtime",
         [](RegistryObject&, CountingPlatform& p) { p.beforeEnumKey = [](DWORD) { throw std::bad_alloc(); }; },
         ListSections, list, 1, false},
    };
    for (const HandleCase& c : cases) {
        SCOPED_TRACE(c.what);
        PutRaw(Path(L"k"), L"v", REG_SZ, TextBytes(L"x"));
        MakeRawKey(Path(L"k\\sub"));
        Registry registry = At(L"k", L"v");
        CountingPlatform counting;
        c.arrange(*registry.Get(), counting);
        HRESULT hr;
        {
            platform::ScopedPlatform scoped(counting);
            hr = c.act(*registry.Get());
        }
        EXPECT_EQ(SUCCEEDED(hr), c.succeeds);
        EXPECT_EQ(counting.opened, c.opens);
        EXPECT_EQ(counting.closed, counting.opened) << "a handle survived the call";
        for (REGSAM access : counting.accesses) EXPECT_EQ(access, c.access);
        EXPECT_EQ(counting.accesses.empty(), c.access == 0);
    }
}

}  // namespace
}  // namespace zolbex
