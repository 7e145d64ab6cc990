// Late-bound calls that a sloppy script or a C++ caller with a wrong DISPPARAMS makes, each of
// which once crashed or misled the caller: named-argument counts without their array, null
// by-ref pointers and references that never end, names requested without arrays, values that
// cannot reach the caller's variable after the call, and a member whose types cannot be loaded.
// Each is answered with an error the automation rules define, and nothing is dereferenced that
// the caller did not give.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "environment_test_support.h"
#include "foreign_object.h"
#include "fuzz_arguments.h"
#include "library/catalogue.h"
#include "library/class_table.h"
#include "library/dispatcher.h"
#include "library/typelib.h"
#include "platform/registry_names.h"
#include "registry/registry_object.h"
#include "runtime/runtime_object.h"
#include "sandbox_platform.h"
#include "zolbex11_interfaces.h"

namespace zolbex {
namespace {

using namespace testing;


VARIANT NullRef(VARTYPE type) {
    VARIANT v;
    V_VT(&v) = VT_BYREF | type;
    V_BYREF(&v) = nullptr;
    return v;
}

class HostileCallsTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        process_ = NewProcessScope();
        registry_ = MakeObject<RegistryObject>();
        registry_->SetClassKey(kHkeyCurrentUser);
        registry_->SetSectionKey(L"Software\\Hostile");
        registry_->SetValueKey(L"v");
        registry_->SetValueType(REG_SZ);
        runtime_ = NewRunTime();
    }
    void TearDown() override {
        process_.Reset();
        registry_.Reset();
        runtime_.Reset();
        ComTest::TearDown();
    }
    IDispatch* Registry() { return static_cast<IDispatch*>(registry_.Get()); }

    // Invoke with the arguments as given (last first), `named` their DISPIDs.
    HRESULT Raw(IDispatch* object, const wchar_t* member, WORD flags, std::vector<VARIANT> args,
                std::vector<DISPID> named = {}, VARIANT* result = nullptr, UINT* argError = nullptr) {
        DISPPARAMS params{args.empty() ? nullptr : args.data(), named.empty() ? nullptr : named.data(),
                          static_cast<UINT>(args.size()), static_cast<UINT>(named.size())};
        EXCEPINFO exception{};
        HRESULT hr = object->Invoke(IdOf(object, member), IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result,
                                    &exception, argError);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
        return hr;
    }

    SandboxPlatform sandbox_;
    platform::ScopedPlatform scoped_{sandbox_};
    ComPtr<IDispatch> process_;
    ComPtr<RegistryObject> registry_;
    ComPtr<IDispatch> runtime_;
};

TEST_F(HostileCallsTest, AMalformedParameterBlockIsRefusedBeforeAnyArgumentIsRead) {
    const DISPID environment = IdOf(process_.Get(), L"Environment");
    VARIANT name;
    V_VT(&name) = VT_BSTR;
    V_BSTR(&name) = SysAllocString(L"PATH");
    struct Case {
        const char* what;
        DISPPARAMS params;
    };
    const Case cases[] = {
        {"named arguments counted, no array of their DISPIDs", {&name, nullptr, 1, 1}},
        {"arguments counted, no array of them", {nullptr, nullptr, 2, 0}},
        {"more named arguments than arguments", {&name, nullptr, 1, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DISPPARAMS params = c.params;
        Variant result;
        EXPECT_EQ(process_->Invoke(environment, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &params,
                                   result.Put(), nullptr, nullptr),
                  E_INVALIDARG);
        EXPECT_EQ(result.Type(), VT_EMPTY);
    }
    VariantClear(&name);
}

TEST_F(HostileCallsTest, NullAndEndlessReferencesAreRefusedWhereverTheyStand) {
    struct Case {
        const char* what;
        std::function<HRESULT()> call;
    };
    VARIANT self;
    V_VT(&self) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&self) = &self;
    VARIANT text;
    V_VT(&text) = VT_BSTR;
    V_BSTR(&text) = nullptr;
    const std::vector<Case> cases = {
        {"WriteKey's value a null by-ref number",
         [&] { return Raw(Registry(), L"WriteKey", DISPATCH_METHOD, {NullRef(VT_I4)}); }},
        {"WriteKey's value key a null by-ref number",
         [&] { return Raw(Registry(), L"WriteKey", DISPATCH_METHOD, {NullRef(VT_I4), text}); }},
        {"WriteKey's root a null by-ref text",
         [&] { return Raw(Registry(), L"WriteKey", DISPATCH_METHOD, {NullRef(VT_BSTR), text, text, text}); }},
        {"goFSO set to a null by-ref object",
         [&] { return Raw(runtime_.Get(), L"goFSO", DISPATCH_PROPERTYPUTREF, {NullRef(VT_DISPATCH)}, {DISPID_PROPERTYPUT}); }},
        {"goFSO let of a reference to itself",
         [&] { return Raw(runtime_.Get(), L"goFSO", DISPATCH_PROPERTYPUT, {self}, {DISPID_PROPERTYPUT}); }},
        {"Value let of a null by-ref variant",
         [&] { return Raw(Registry(), L"Value", DISPATCH_PROPERTYPUT, {NullRef(VT_VARIANT)}, {DISPID_PROPERTYPUT}); }},
        {"EnvironGet's style a reference to itself",
         [&] { return Raw(runtime_.Get(), L"EnvironGet", DISPATCH_METHOD, {self}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), E_INVALIDARG);
    }
    EXPECT_EQ(sandbox_.Count(PlatformCall::SetValue), 0) << "nothing is written";
}

TEST_F(HostileCallsTest, ACollectionsItemGivenAReferenceToItselfAnswersInsteadOfHanging) {
    CallResult listed = GetProperty(process_.Get(), L"List");
    ASSERT_EQ(listed.value.Type(), VT_DISPATCH);
    ComPtr<IDispatch> list(V_DISPATCH(listed.value.Get()));
    VARIANT self;
    V_VT(&self) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&self) = &self;
    EXPECT_EQ(Raw(list.Get(), L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {self}), E_INVALIDARG);
}

TEST_F(HostileCallsTest, NamesAreNotLookedUpWithoutTheirArraysOrForAnotherInterface) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Environment"), nullptr};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(process_->GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids), E_INVALIDARG);
    EXPECT_EQ(process_->GetIDsOfNames(IID_NULL, names, 1, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(process_->GetIDsOfNames(IID_IDispatch, names, 1, 0, ids), DISP_E_UNKNOWNINTERFACE);
    EXPECT_EQ(process_->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);
    LPOLESTR missing[] = {nullptr};
    EXPECT_EQ(process_->GetIDsOfNames(IID_NULL, missing, 1, 0, ids), DISP_E_UNKNOWNNAME);
}

TEST_F(HostileCallsTest, AListingThatCannotReachTheCallersVariablesFailsAndLeavesThemAlone) {
    // Three values to list.
    for (const wchar_t* name : {L"a", L"b", L"c"}) {
        registry_->SetValueKey(name);
        ASSERT_EQ(PutProperty(Registry(), L"Value", Args(Text(L"x"))).hr, S_OK);
    }
    LONG count = 77;
    VARIANT countRef;
    V_VT(&countRef) = VT_BYREF | VT_I4;
    V_I4REF(&countRef) = &count;
    {
        // A Long array for the names: refused before the call, so the count is not touched either.
        SAFEARRAYBOUND bound{2, 0};
        SAFEARRAY* longs = SafeArrayCreate(VT_I4, 1, &bound);
        VARIANT namesRef;
        V_VT(&namesRef) = VT_BYREF | VT_ARRAY | VT_I4;
        V_ARRAYREF(&namesRef) = &longs;
        UINT argError = 99;
        EXPECT_EQ(Raw(Registry(), L"EnumerateValues", DISPATCH_METHOD, {countRef, namesRef}, {}, nullptr, &argError),
                  DISP_E_TYPEMISMATCH);
        EXPECT_EQ(argError, 1u);
        EXPECT_EQ(count, 77);
        SafeArrayDestroy(longs);
    }
    {
        // A count in a variable too small for what the member writes back: an overflow, not S_OK.
        for (int i = 0; i < 130; ++i) {
            registry_->SetValueKey(L"n" + std::to_wstring(i));
            ASSERT_EQ(PutProperty(Registry(), L"Value", Args(Text(L"x"))).hr, S_OK);
        }
        CHAR small = 5;
        VARIANT smallRef;
        V_VT(&smallRef) = VT_BYREF | VT_I1;
        V_I1REF(&smallRef) = &small;
        Variant names;
        VARIANT result;
        VariantInit(&result);
        UINT argError = 99;
        EXPECT_EQ(Raw(Registry(), L"EnumerateValues", DISPATCH_METHOD, {smallRef, *RefTo(names.Get()).Get()}, {},
                      &result, &argError),
                  DISP_E_OVERFLOW);
        EXPECT_EQ(argError, 0u);
        EXPECT_EQ(small, 5);
        EXPECT_EQ(V_VT(&result), VT_EMPTY) << "no result after a failure";
        EXPECT_EQ(names.Type(), VT_ARRAY | VT_VARIANT) << "the names still arrive";
    }
    {
        // A Variant holding a locked array: it is not overwritten, and the call says so.
        SAFEARRAYBOUND bound{1, 1};
        Variant held;
        V_VT(held.Get()) = VT_ARRAY | VT_BSTR;
        V_ARRAY(held.Get()) = SafeArrayCreate(VT_BSTR, 1, &bound);
        SAFEARRAY* locked = V_ARRAY(held.Get());
        SafeArrayLock(locked);
        EXPECT_EQ(Raw(Registry(), L"EnumerateValues", DISPATCH_METHOD, {countRef, *RefTo(held.Get()).Get()}),
                  DISP_E_ARRAYISLOCKED);
        EXPECT_EQ(V_ARRAY(held.Get()), locked);
        SafeArrayUnlock(locked);
    }
}

// Type information of one of our interfaces as a machine without the Scripting runtime's type
// library shows it: every type of that library fails to load.
class WithoutScriptingRuntime final : public ForeignObject<ITypeInfo> {
public:
    explicit WithoutScriptingRuntime(ITypeInfo* real) : real_(real) {}

    HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE ref, ITypeInfo** out) override {
        ComPtr<ITypeInfo> found;
        HRESULT hr = real_->GetRefTypeInfo(ref, found.Put());
        if (FAILED(hr)) return hr;
        ComPtr<ITypeLib> library;
        UINT index = 0;
        TLIBATTR* attr = nullptr;
        if (SUCCEEDED(found->GetContainingTypeLib(library.Put(), &index)) && SUCCEEDED(library->GetLibAttr(&attr))) {
            const bool scripting = attr->guid == catalogue::TheLibrary().scripting.libid;
            library->ReleaseTLibAttr(attr);
            if (scripting) return TYPE_E_CANTLOADLIBRARY;
        }
        *out = new WithoutScriptingRuntime(found.Get());  // the other half of a dual interface too
        return S_OK;
    }
    // Everything else as the real type information answers it.
    HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** a) override { return real_->GetTypeAttr(a); }
    HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp** c) override { return real_->GetTypeComp(c); }
    HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT i, FUNCDESC** f) override { return real_->GetFuncDesc(i, f); }
    HRESULT STDMETHODCALLTYPE GetVarDesc(UINT i, VARDESC** v) override { return real_->GetVarDesc(i, v); }
    HRESULT STDMETHODCALLTYPE GetNames(MEMBERID m, BSTR* n, UINT c, UINT* g) override { return real_->GetNames(m, n, c, g); }
    HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT i, HREFTYPE* r) override { return real_->GetRefTypeOfImplType(i, r); }
    HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT i, INT* f) override { return real_->GetImplTypeFlags(i, f); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* n, UINT c, MEMBERID* m) override { return real_->GetIDsOfNames(n, c, m); }
    HRESULT STDMETHODCALLTYPE Invoke(PVOID o, MEMBERID m, WORD f, DISPPARAMS* p, VARIANT* r, EXCEPINFO* e, UINT* a) override {
        return real_->Invoke(o, m, f, p, r, e, a);
    }
    HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID m, BSTR* n, BSTR* d, DWORD* c, BSTR* h) override {
        return real_->GetDocumentation(m, n, d, c, h);
    }
    HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID m, INVOKEKIND k, BSTR* d, BSTR* n, WORD* o) override {
        return real_->GetDllEntry(m, k, d, n, o);
    }
    HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID m, INVOKEKIND k, PVOID* p) override { return real_->AddressOfMember(m, k, p); }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* u, REFIID i, PVOID* o) override { return real_->CreateInstance(u, i, o); }
    HRESULT STDMETHODCALLTYPE GetMops(MEMBERID m, BSTR* o) override { return real_->GetMops(m, o); }
    HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** l, UINT* i) override { return real_->GetContainingTypeLib(l, i); }
    void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* a) override { real_->ReleaseTypeAttr(a); }
    void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC* f) override { real_->ReleaseFuncDesc(f); }
    void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC* v) override { real_->ReleaseVarDesc(v); }

private:
    ComPtr<ITypeInfo> real_;
};

// goFSO's type comes from the Scripting runtime's type library. Where that cannot be loaded (an
// administrator removed the runtime), goFSO is refused with an error instead of being called with
// whatever the dispatcher would have made of a type it does not know.
TEST_F(HostileCallsTest, AMemberWhoseTypeCannotBeLoadedAnswersWithAnErrorAndIsNeverCalled) {
    ComPtr<ITypeInfo> real;
    ASSERT_EQ(OwnTypeLib()->GetTypeInfoOfGuid(IID__clsZolbex11RunTimeA, real.Put()), S_OK);
    ComPtr<ITypeInfo> stripped = ComPtr<ITypeInfo>::Attach(new WithoutScriptingRuntime(real.Get()));
    DispatchTable table(stripped.Get());

    const DISPID goFSO = IdOf(runtime_.Get(), L"goFSO");
    ComPtr<IDispatch> fileSystem = ComPtr<IDispatch>::Attach(NewFailingDispatch());
    for (WORD flags : {WORD(DISPATCH_PROPERTYPUTREF), WORD(DISPATCH_PROPERTYPUT), WORD(DISPATCH_PROPERTYGET)}) {
        SCOPED_TRACE(flags);
        VARIANT value;
        V_VT(&value) = VT_DISPATCH;
        V_DISPATCH(&value) = fileSystem.Get();
        DISPID put = DISPID_PROPERTYPUT;
        const bool isGet = flags == DISPATCH_PROPERTYGET;
        DISPPARAMS params{isGet ? nullptr : &value, isGet ? nullptr : &put, isGet ? 0u : 1u, isGet ? 0u : 1u};
        Variant result;
        CallResult seen;
        seen.hr = table.Invoke(runtime_.Get(), goFSO, flags, &params, result.Put(), &seen.exception, nullptr);
        EXPECT_EQ(seen.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(ErrorOf(seen).number, TYPE_E_CANTLOADLIBRARY);
        EXPECT_EQ(ErrorOf(seen).source, L"ZOLBEX11");
        EXPECT_EQ(result.Type(), VT_EMPTY);
    }
    EXPECT_EQ(sandbox_.Count(PlatformCall::CreateFileSystem), 0) << "goFSO was never reached";
}

}  // namespace
}  // namespace zolbex
