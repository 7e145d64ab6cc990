// The registry object through IDispatch, as scripts call it: by-ref array and count arguments
// written back into script variables, and ReadKey/WriteKey with omitted and named arguments.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "library/bstr.h"
#include "registry_test_support.h"

namespace zolbex {
namespace {

using namespace testing;

// Arguments in the caller's order (Variant is move-only, so no initializer list).
template <class... V>
std::vector<Variant> Args(V&&... values) {
    std::vector<Variant> args;
    (args.push_back(std::move(values)), ...);
    return args;
}

class RegistryLateBoundTest : public RegistryTest {
protected:
    static ComPtr<IDispatch> Late(const Registry& registry) { return registry.As<IDispatch>(IID_IDispatch); }
};

// Element i of a script array (VT_ARRAY | VT_VARIANT) as text.
std::vector<std::wstring> ScriptArrayTexts(const VARIANT& variable) {
    std::vector<std::wstring> texts;
    EXPECT_EQ(V_VT(&variable), VT_ARRAY | VT_VARIANT);
    if (V_VT(&variable) != (VT_ARRAY | VT_VARIANT) || !V_ARRAY(&variable)) return texts;
    auto [lower, upper] = BoundsOf(V_ARRAY(&variable));
    EXPECT_EQ(lower, 1);
    for (LONG i = lower; i <= upper; ++i) {
        Variant element;
        SafeArrayGetElement(V_ARRAY(&variable), &i, element.Get());
        texts.push_back(Str(element));
    }
    return texts;
}

TEST_F(RegistryLateBoundTest, ListingsFillScriptVariablesInPlace) {
    PutRaw(Path(), L"one", REG_SZ, TextBytes(L"1"));
    PutRaw(Path(), L"two", REG_SZ, TextBytes(L"2"));
    MakeRawKey(Path(L"sub"));
    Registry registry = At();
    ComPtr<IDispatch> late = Late(registry);
    struct Case {
        const wchar_t* method;
        std::vector<std::wstring> expected;
    } cases[] = {{L"EnumerateValues", {L"one", L"two"}}, {L"EnumerateSections", {L"sub"}}};
    for (const Case& c : cases) {
        Variant names = Text(L"old"), count = Long(7);
        CallResult call = CallMethod(late.Get(), c.method, Args(RefTo(names.Get()), RefTo(count.Get())));
        ASSERT_EQ(call.hr, S_OK);
        EXPECT_EQ(V_VT(call.value.Get()), VT_BOOL);
        EXPECT_EQ(V_BOOL(call.value.Get()), VARIANT_TRUE);
        EXPECT_EQ(Str(count), std::to_wstring(c.expected.size()));
        std::vector<std::wstring> listed = ScriptArrayTexts(*names.Get());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, c.expected);
    }
}

TEST_F(RegistryLateBoundTest, ReadKeyWithOmittedAndNamedArguments) {
    PutRaw(Path(), L"own", REG_SZ, TextBytes(L"own value"));
    PutRaw(Path(L"other"), L"v", REG_DWORD, LongBytes(5));
    Registry registry = At(L"", L"own");
    ComPtr<IDispatch> late = Late(registry);

    CallResult omitted = CallMethod(late.Get(), L"ReadKey");
    ASSERT_EQ(omitted.hr, S_OK);
    EXPECT_EQ(Str(omitted.value), L"own value");

    CallResult namedDefault =
        Call(late.Get(), L"ReadKey", DISPATCH_METHOD, Args(Text(L"absent"), Text(L"fallback")), {L"ValueKey", L"Default"});
    ASSERT_EQ(namedDefault.hr, S_OK);
    EXPECT_EQ(Str(namedDefault.value), L"fallback");

    // Script variables passed by reference are read, never written.
    Variant section = Text(Path(L"other").c_str()), name = Text(L"v");
    CallResult byRef = Call(late.Get(), L"ReadKey", DISPATCH_METHOD, Args(RefTo(section.Get()), RefTo(name.Get())),
                            {L"SectionKey", L"ValueKey"});
    ASSERT_EQ(byRef.hr, S_OK);
    EXPECT_EQ(V_VT(byRef.value.Get()), VT_I4);
    EXPECT_EQ(Str(byRef.value), L"5");
    EXPECT_EQ(Str(section), Path(L"other"));
    EXPECT_EQ(Str(name), L"v");

    EXPECT_EQ(registry->SectionKey(), Path());
    EXPECT_EQ(registry->ValueKey(), L"own");
    EXPECT_EQ(Str(GetProperty(late.Get(), L"Default").value), L"");
}

TEST_F(RegistryLateBoundTest, WriteKeyAndValueThroughDispatch) {
    Registry registry = MakeObject<RegistryObject>();
    ComPtr<IDispatch> late = Late(registry);
    ASSERT_EQ(PutProperty(late.Get(), L"ValueType", Args(Long(REG_DWORD))).hr, S_OK);
    CallResult write = Call(late.Get(), L"WriteKey", DISPATCH_METHOD,
                            Args(Long(9), Text(L"n"), Text(Path().c_str()), Long(kCurrentUser)),
                            {L"ValueKey", L"SectionKey", L"ClassKey"});
    ASSERT_EQ(write.hr, S_OK);
    EXPECT_EQ(GetRaw(Path(), L"n")->bytes, LongBytes(9));
    EXPECT_EQ(Str(GetProperty(late.Get(), L"ClassKey").value), L"0");

    ASSERT_EQ(PutProperty(late.Get(), L"ClassKey", Args(Long(kCurrentUser))).hr, S_OK);
    ASSERT_EQ(PutProperty(late.Get(), L"SectionKey", Args(Text(Path().c_str()))).hr, S_OK);
    ASSERT_EQ(PutProperty(late.Get(), L"ValueKey", Args(Text(L"n"))).hr, S_OK);
    ASSERT_EQ(PutProperty(late.Get(), L"Value", Args(Text(L"12"))).hr, S_OK);
    EXPECT_EQ(Str(GetProperty(late.Get(), L"Value").value), L"12");
}

TEST_F(RegistryLateBoundTest, ErrorsArriveWithNumberSourceAndDescription) {
    Registry registry = At(L"absent");
    ComPtr<IDispatch> late = Late(registry);
    CallResult call = CallMethod(late.Get(), L"DeleteKey");
    EXPECT_EQ(call.hr, DISP_E_EXCEPTION);
    ErrorSeen error = ErrorOf(call);
    EXPECT_EQ(error.number, 26001);
    EXPECT_EQ(error.source, L"zolbex11.cRegistry");
    EXPECT_EQ(error.description, L"Failed to delete registry Key: '-2147483647',Section: '" + Path(L"absent"));
}

}  // namespace
}  // namespace zolbex
