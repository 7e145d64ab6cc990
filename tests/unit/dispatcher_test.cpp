// Late binding through our dispatcher: defaults of omitted arguments (also by-ref ones), named
// arguments, by-ref write-back, coercion, errors as EXCEPINFO, and member selection by flags.
// A recording implementation of the runtime interface shows what reached the vtable.
#include <gtest/gtest.h>

#include <string>

#include "com_test_support.h"
#include "library/class_table.h"
#include "registry_test_support.h"
#include "library/dispatch_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

struct Recorded {
    std::wstring call;
    LONG style = -99;
    bool variableGiven = false;
    std::wstring variable;
    VARIANT_BOOL fullValue = 7;
    std::wstring drive;
    VARIANT_BOOL changeLabel = 7;
};

class RecordingRunTime final : public DispatchObject<_clsZolbex11RunTimeA> {
public:
    Recorded seen;
    VARIANT_BOOL expand = VARIANT_FALSE;

    HRESULT STDMETHODCALLTYPE get_goFSO(IDispatch** pRetVal) override {
        *pRetVal = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_goFSO(IDispatch*) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE putref_goFSO(IDispatch*) override {
        seen.call = L"putref_goFSO";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_goRegistry(_clsZolbexENVRegistryA** pRetVal) override {
        *pRetVal = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_goRegistry(_clsZolbexENVRegistryA*) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE putref_goRegistry(_clsZolbexENVRegistryA*) override { return S_OK; }

    HRESULT STDMETHODCALLTYPE EnvironGet(LONG* lStyle, BSTR* sVariable, VARIANT_BOOL* bFullValue,
                                         BSTR* pRetVal) override {
        seen.call = L"EnvironGet";
        seen.style = *lStyle;
        seen.variableGiven = *sVariable != nullptr;
        seen.variable = Bstr::ViewOf(*sVariable);
        seen.fullValue = *bFullValue;
        *pRetVal = SysAllocString(L"value");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnvironSet(LONG* lStyle, BSTR* sVariable, BSTR* sVarValue,
                                         BSTR* pRetVal) override {
        seen.call = L"EnvironSet";
        seen.style = *lStyle;
        seen.variable = Bstr::ViewOf(*sVariable);
        // Replaces the caller's value, as a by-ref parameter may.
        SysFreeString(*sVarValue);
        *sVarValue = SysAllocString(L"changed");
        *pRetVal = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnvironList(LONG*, _clsZolbexENVValuePairsA** pRetVal) override {
        *pRetVal = nullptr;
        return Guarded([] { Raise(26001, L"zolbex11.cRegistry", L"Failed to create registry Key: 'x"); });
    }
    HRESULT STDMETHODCALLTYPE get_ExpandEnvVar(VARIANT_BOOL* pRetVal) override {
        *pRetVal = expand;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ExpandEnvVar(VARIANT_BOOL value) override {
        expand = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVirtualDrive(LONG*, BSTR*, BSTR*, BSTR*, VARIANT_BOOL*) override {
        return Guarded([] { Raise(-2147194455, L"source", L"negative number"); });
    }
    HRESULT STDMETHODCALLTYPE CreateVirtualDriveHV(LONG*, BSTR* sDriveLetter,
                                                   VARIANT_BOOL* bChangeVolLable) override {
        seen.call = L"CreateVirtualDriveHV";
        seen.drive = Bstr::ViewOf(*sDriveLetter);
        seen.changeLabel = *bChangeVolLable;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateVirtualDriveHVWin(LONG*, BSTR*, VARIANT_BOOL*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE CreateVirtualDriveHVPro(LONG*, BSTR*, VARIANT_BOOL*) override { return S_OK; }
};

class DispatcherTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        object_ = MakeObject<RecordingRunTime>();
    }
    void TearDown() override {
        object_.Reset();
        ComTest::TearDown();
    }
    IDispatch* Object() { return object_.Get(); }
    const Recorded& Seen() { return object_->seen; }

    ComPtr<RecordingRunTime> object_;
};

TEST_F(DispatcherTest, OmittedByRefArgumentsGetTheirDefaults) {
    CallResult r = CallMethod(Object(), L"EnvironGet");
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(Str(r.value), L"value");
    EXPECT_EQ(Seen().style, 2);             // default 2
    EXPECT_EQ(Seen().variable, L"");        // optional without default: empty text
    EXPECT_EQ(Seen().fullValue, VARIANT_FALSE);

    // A by-ref text with a text default: the case the platform's own Invoke crashes on.
    std::vector<Variant> args;
    args.push_back(Long(0));
    r = CallMethod(Object(), L"CreateVirtualDriveHV", std::move(args));
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(Seen().drive, L"Z:");
    EXPECT_EQ(Seen().changeLabel, VARIANT_FALSE);
}

TEST_F(DispatcherTest, ExplicitlyMissingArgumentsCountAsOmitted) {
    std::vector<Variant> args;
    args.push_back(Missing());
    args.push_back(Text(L"TEMP"));
    CallResult r = CallMethod(Object(), L"EnvironGet", std::move(args));
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(Seen().style, 2);
    EXPECT_EQ(Seen().variable, L"TEMP");
}

TEST_F(DispatcherTest, NamedArgumentsReachTheirParameters) {
    std::vector<Variant> args;
    args.push_back(Text(L"PATH"));
    args.push_back(Bool(true));
    CallResult r = Call(Object(), L"EnvironGet", DISPATCH_METHOD, std::move(args),
                        {L"sVariable", L"bFullValue"});
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(Seen().style, 2);
    EXPECT_EQ(Seen().variable, L"PATH");
    EXPECT_EQ(Seen().fullValue, VARIANT_TRUE);
}

TEST_F(DispatcherTest, NamesResolveWithoutRegardToCase) {
    EXPECT_EQ(IdOf(Object(), L"environget"), 0x60030009);
    EXPECT_EQ(IdOf(Object(), L"EXPANDENVVAR"), 0x68030008);
    DISPID id = 0;
    LPOLESTR name[] = {const_cast<LPOLESTR>(L"NoSuchMember")};
    EXPECT_EQ(Object()->GetIDsOfNames(IID_NULL, name, 1, 0, &id), DISP_E_UNKNOWNNAME);
}

TEST_F(DispatcherTest, ArgumentsAreCoercedToTheDeclaredTypes) {
    std::vector<Variant> args;
    args.push_back(Text(L"1"));     // text to LONG
    args.push_back(Long(42));       // number to BSTR
    args.push_back(Short(-1));      // 16-bit integer to VARIANT_BOOL
    CallResult r = CallMethod(Object(), L"EnvironGet", std::move(args));
    ASSERT_EQ(r.hr, S_OK);
    EXPECT_EQ(Seen().style, 1);
    EXPECT_EQ(Seen().variable, L"42");
    EXPECT_EQ(Seen().fullValue, VARIANT_TRUE);

    args.clear();
    args.push_back(Text(L"not a number"));
    r = CallMethod(Object(), L"EnvironGet", std::move(args));
    EXPECT_EQ(r.hr, DISP_E_TYPEMISMATCH);
    EXPECT_EQ(r.argError, 0u);
}

TEST_F(DispatcherTest, ByRefArgumentsAreWrittenBack) {
    // A typed by-ref argument of the parameter's own type: the callee writes the caller's slot.
    BSTR typed = SysAllocString(L"before");
    std::vector<Variant> args;
    args.push_back(Long(1));
    args.push_back(Text(L"V"));
    args.push_back(RefToBstr(&typed));
    ASSERT_EQ(CallMethod(Object(), L"EnvironSet", std::move(args)).hr, S_OK);
    EXPECT_EQ(Bstr::ViewOf(typed), L"changed");
    SysFreeString(typed);

    // A script variable (by-ref VARIANT) holding another type: coerced in, written back.
    Variant scriptVariable = Long(5);
    args.clear();
    args.push_back(Long(1));
    args.push_back(Text(L"V"));
    args.push_back(RefTo(scriptVariable.Get()));
    ASSERT_EQ(CallMethod(Object(), L"EnvironSet", std::move(args)).hr, S_OK);
    ASSERT_EQ(scriptVariable.Type(), VT_BSTR);
    EXPECT_EQ(Str(scriptVariable), L"changed");

    // A by-ref VARIANT holding a different integer type reaches a LONG parameter.
    Variant style = Short(0);
    args.clear();
    args.push_back(RefTo(style.Get()));
    ASSERT_EQ(CallMethod(Object(), L"EnvironGet", std::move(args)).hr, S_OK);
    EXPECT_EQ(Seen().style, 0);
    // The member did not assign to it: the caller's variable keeps its own type and value.
    EXPECT_EQ(style.Type(), VT_I2);

    Variant name = Long(5);
    Variant textStyle = Text(L"1");
    args.clear();
    args.push_back(RefTo(textStyle.Get()));
    args.push_back(RefTo(name.Get()));
    ASSERT_EQ(CallMethod(Object(), L"EnvironGet", std::move(args)).hr, S_OK);
    EXPECT_EQ(Seen().style, 1);
    EXPECT_EQ(Seen().variable, L"5");
    EXPECT_EQ(textStyle.Type(), VT_BSTR);
    EXPECT_EQ(name.Type(), VT_I4);
}

TEST_F(DispatcherTest, WrongArgumentCountsAreRefused) {
    std::vector<Variant> args;
    for (int i = 0; i < 4; ++i) args.push_back(Long(i));
    EXPECT_EQ(CallMethod(Object(), L"EnvironGet", std::move(args)).hr, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(CallMethod(Object(), L"CreateVirtualDriveHV").hr, DISP_E_PARAMNOTOPTIONAL);
}

TEST_F(DispatcherTest, FailuresArriveAsExceptionsWithTheErrorObject) {
    std::vector<Variant> args;
    args.push_back(Long(1));
    CallResult r = CallMethod(Object(), L"EnvironList", std::move(args));
    ASSERT_EQ(r.hr, DISP_E_EXCEPTION);
    ErrorSeen e = ErrorOf(r);
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.source, L"zolbex11.cRegistry");
    EXPECT_EQ(e.description, L"Failed to create registry Key: 'x");

    args.clear();
    for (int i = 0; i < 3; ++i) args.push_back(Long(0));
    r = CallMethod(Object(), L"CreateVirtualDrive", std::move(args));
    ASSERT_EQ(r.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(ErrorOf(r).number, -2147194455);
}

TEST_F(DispatcherTest, PropertyGetAndLetSelectTheirAccessors) {
    std::vector<Variant> args;
    args.push_back(Bool(true));
    ASSERT_EQ(PutProperty(Object(), L"ExpandEnvVar", std::move(args)).hr, S_OK);
    CallResult r = GetProperty(Object(), L"ExpandEnvVar");
    ASSERT_EQ(r.hr, S_OK);
    ASSERT_EQ(r.value.Type(), VT_BOOL);
    EXPECT_EQ(V_BOOL(r.value.Get()), VARIANT_TRUE);

    // A let of an object to a field that only has a set goes to the set.
    Variant object;
    V_VT(object.Get()) = VT_DISPATCH;
    V_DISPATCH(object.Get()) = Object();
    Object()->AddRef();
    std::vector<Variant> value;
    value.push_back(std::move(object));
    EXPECT_EQ(PutProperty(Object(), L"goFSO", std::move(value)).hr, DISP_E_TYPEMISMATCH)
        << "the recording object is no file-system object, so the set must refuse it";
}

TEST_F(DispatcherTest, UnknownMembersAndInterfacesAreRefused) {
    DISPPARAMS none{};
    Variant result;
    EXPECT_EQ(Object()->Invoke(0x12345, IID_NULL, 0, DISPATCH_METHOD, &none, result.Put(), nullptr,
                               nullptr),
              DISP_E_MEMBERNOTFOUND);
    // The reserved interface argument must be IID_NULL, even for a member that exists.
    EXPECT_EQ(Object()->Invoke(IdOf(Object(), L"ExpandEnvVar"), IID_IDispatch, 0, DISPATCH_PROPERTYGET,
                               &none, result.Put(), nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(result.Type(), VT_EMPTY);
}

}  // namespace
}  // namespace zolbex::testing

namespace zolbex::testing {
namespace {

using DispatcherChainTest = ComTest;

TEST_F(DispatcherChainTest, ArgumentsOfAParameterlessObjectPropertyGoToItsDefaultMember) {
    ComPtr<IDispatch> process = NewProcessScope();
    std::vector<Variant> args;
    args.push_back(Text(L"path"));
    CallResult pair = GetProperty(process.Get(), L"List", std::move(args));
    ASSERT_EQ(pair.hr, S_OK);
    ASSERT_EQ(pair.value.Type(), VT_DISPATCH);
    CallResult name = GetProperty(V_DISPATCH(pair.value.Get()), L"Variable");
    EXPECT_EQ(Str(name.value), L"PATH");

    args.clear();
    args.push_back(Long(0));
    CallResult outside = GetProperty(process.Get(), L"List", std::move(args));
    ASSERT_EQ(outside.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(ErrorOf(outside).number, 9);
}

// A late-bound caller's own array of VARIANT (a Variant array passed by reference) given to a
// typed array parameter: the member's array comes back into the caller's variable as an array
// of VARIANT, replacing what it held.
using DispatcherArrayTest = RegistryTest;

TEST_F(DispatcherArrayTest, TypedArrayComesBackIntoACallersVariantArray) {
    PutRaw(Path(), L"only", REG_SZ, TextBytes(L"1"));
    ComPtr<IDispatch> registry = At().As<IDispatch>(IID_IDispatch);
    SAFEARRAY* names = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    LONG count = 0;
    Variant namesRef;
    V_VT(namesRef.Get()) = VT_BYREF | VT_ARRAY | VT_VARIANT;
    V_ARRAYREF(namesRef.Get()) = &names;
    std::vector<Variant> args;
    args.push_back(std::move(namesRef));
    args.push_back(RefToLong(&count));
    ASSERT_EQ(CallMethod(registry.Get(), L"EnumerateValues", std::move(args)).hr, S_OK);
    EXPECT_EQ(count, 1);
    ASSERT_NE(names, nullptr);
    VARTYPE elementType = VT_EMPTY;
    SafeArrayGetVartype(names, &elementType);
    EXPECT_EQ(elementType, VT_VARIANT);
    EXPECT_EQ(BoundsOf(names), std::make_pair(1L, 1L));
    Variant first;
    LONG position = 1;
    SafeArrayGetElement(names, &position, first.Get());
    EXPECT_EQ(Str(first), L"only");
    SafeArrayDestroy(names);
}

}  // namespace
}  // namespace zolbex::testing
