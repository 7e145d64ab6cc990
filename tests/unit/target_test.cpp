// What differs between the two targets: each build tree's suite must run in a process of its
// own pointer size, against a type library of its own kind, with the automation structures laid
// out as clients of that target lay them out (checked when the file compiles).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "com_test_support.h"
#include "environment_test_support.h"
#include "registry_test_support.h"
#include "library/typelib.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

constexpr bool kWin64 = sizeof(void*) == 8;
static_assert(sizeof(void*) == 4 || kWin64, "a target of 32 or 64 bits");

// The automation structures as clients of the target lay them out: a header or a packing that
// differs from the SDK's garbles every late-bound call.
static_assert(sizeof(VARIANT) == (kWin64 ? 24 : 16), "VARIANT as clients lay it out");
static_assert(sizeof(DISPPARAMS) == (kWin64 ? 24 : 16), "DISPPARAMS as clients lay it out");
static_assert(sizeof(EXCEPINFO) == (kWin64 ? 64 : 32), "EXCEPINFO as clients lay it out");

using TargetTest = ComTest;

TEST_F(TargetTest, TheProcessIsUnderWow64OnlyInTheWow64Run) {
    // The 32-bit DLL runs where 32-bit clients live: a 32-bit process on a win32 prefix, or
    // under WOW64 on a 64-bit one when the run says so (ZOLBEX11_WOW64=1, the WOW64 suite).
    const char* wow64Run = std::getenv("ZOLBEX11_WOW64");
    const bool expectWow64 = !kWin64 && wow64Run && std::strcmp(wow64Run, "1") == 0;
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_EQ(expectWow64, wow64 != FALSE)
        << (expectWow64 ? "the WOW64 suite's process is not under WOW64"
                        : "a 32-bit test process on a 64-bit prefix, not the win32 environment");
}

// The library the dispatcher serves from its own module is the one of this target, with the
// vtable offsets of this target's slots as stored (seven IUnknown and IDispatch slots first).
TEST_F(TargetTest, TheServedTypeLibraryIsOfTheTargetsKindAndSlotSize) {
    ComPtr<ITypeLib> lib = OwnTypeLib();
    ASSERT_TRUE(lib);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, lib->GetLibAttr(&attr));
    EXPECT_EQ(kWin64 ? SYS_WIN64 : SYS_WIN32, attr->syskind);
    lib->ReleaseTLibAttr(attr);

    ComPtr<ITypeInfo> dispatch, itf;
    HREFTYPE ref = 0;
    ASSERT_EQ(S_OK, lib->GetTypeInfoOfGuid(IID__clsZolbexENVProcessA, dispatch.Put()));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref));
    ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, itf.Put()));
    FUNCDESC* first = nullptr;
    ASSERT_EQ(S_OK, itf->GetFuncDesc(0, &first));
    EXPECT_EQ(static_cast<SHORT>(7 * sizeof(void*)), first->oVft);
    itf->ReleaseFuncDesc(first);
}

// A late-bound call reaches the vtable with the target's calling convention: every argument of a
// four-argument call (a by-ref VARIANT, two texts, a 32-bit root) arrives intact, and the result
// comes back through the retval slot (a wrong convention or slot size garbles them on i686).
using TargetCallTest = RegistryTest;

TEST_F(TargetCallTest, LateBoundCallsPassEveryArgumentThroughTheTargetsConvention) {
    Registry registry = At();
    IDispatch* late = registry.Get();
    const std::wstring text = L"\u00e9t\u00e9 \u65e5\u672c";
    Variant value = Text(text.c_str());
    ASSERT_EQ(S_OK, PutProperty(late, L"ValueType", Args(Long(REG_SZ))).hr);
    ASSERT_EQ(S_OK, CallMethod(late, L"WriteKey",
                               Args(RefTo(value.Get()), Text(L"v"), Text(Path().c_str()), Long(kCurrentUser))).hr);
    CallResult read = CallMethod(late, L"ReadKey", Args(Text(L"v"), Text(Path().c_str()), Long(kCurrentUser), Text(L"fallback")));
    ASSERT_EQ(S_OK, read.hr);
    EXPECT_EQ(text, Str(read.value));
    CallResult missing = CallMethod(late, L"ReadKey", Args(Text(L"absent"), Text(Path().c_str()), Long(kCurrentUser), Long(-7)));
    ASSERT_EQ(S_OK, missing.hr);
    EXPECT_EQ(VT_I4, V_VT(missing.value.Get()));
    EXPECT_EQ(-7, V_I4(missing.value.Get()));
}

}  // namespace
}  // namespace zolbex::testing
