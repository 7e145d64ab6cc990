#include "com_test_support.h"

#include <algorithm>

#include "library/errors.h"

namespace zolbex::testing {

namespace {

// A variant of `type` whose value `store` writes in place.
template <class Store>
Variant Made(VARTYPE type, Store&& store) {
    Variant v;
    V_VT(v.Get()) = type;
    store(v.Get());
    return v;
}

}  // namespace

Variant Text(const wchar_t* text) { return Made(VT_BSTR, [&](VARIANT* v) { V_BSTR(v) = SysAllocString(text); }); }
Variant Long(LONG value) { return Made(VT_I4, [&](VARIANT* v) { V_I4(v) = value; }); }
Variant Short(SHORT value) { return Made(VT_I2, [&](VARIANT* v) { V_I2(v) = value; }); }
Variant Double(double value) { return Made(VT_R8, [&](VARIANT* v) { V_R8(v) = value; }); }
Variant Bool(bool value) {
    return Made(VT_BOOL, [&](VARIANT* v) { V_BOOL(v) = value ? VARIANT_TRUE : VARIANT_FALSE; });
}
Variant RefTo(VARIANT* variable) {
    return Made(VT_BYREF | VT_VARIANT, [&](VARIANT* v) { V_VARIANTREF(v) = variable; });
}
Variant RefToBstr(BSTR* variable) { return Made(VT_BYREF | VT_BSTR, [&](VARIANT* v) { V_BSTRREF(v) = variable; }); }
Variant RefToLong(LONG* variable) { return Made(VT_BYREF | VT_I4, [&](VARIANT* v) { V_I4REF(v) = variable; }); }
Variant Missing() { return Made(VT_ERROR, [](VARIANT* v) { V_ERROR(v) = DISP_E_PARAMNOTFOUND; }); }

CallResult& CallResult::operator=(CallResult&& other) noexcept {
    hr = other.hr;
    value = std::move(other.value);
    std::swap(exception, other.exception);  // the other one frees what this one held
    argError = other.argError;
    return *this;
}

CallResult::~CallResult() {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

DISPID IdOf(IDispatch* object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    EXPECT_EQ(hr, S_OK) << "GetIDsOfNames " << std::string(name, name + wcslen(name));
    return id;
}

CallResult Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Variant> args,
                std::vector<const wchar_t*> named) {
    CallResult result;
    std::vector<LPOLESTR> names{const_cast<LPOLESTR>(name)};
    for (const wchar_t* n : named) names.push_back(const_cast<LPOLESTR>(n));
    std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
    result.hr = object->GetIDsOfNames(IID_NULL, names.data(), static_cast<UINT>(names.size()),
                                      LOCALE_USER_DEFAULT, ids.data());
    if (FAILED(result.hr)) return result;

    // DISPPARAMS wants the arguments last first; named ones come first, in their own order.
    std::vector<VARIANTARG> raw;
    const size_t positional = args.size() - named.size();
    for (size_t i = 0; i < named.size(); ++i) raw.push_back(*args[positional + i].Get());
    for (size_t i = positional; i-- > 0;) raw.push_back(*args[i].Get());
    std::vector<DISPID> namedIds(ids.begin() + 1, ids.end());
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        // The new value is the last positional argument, passed first under DISPID_PROPERTYPUT.
        VARIANTARG value = raw[named.size()];
        raw.erase(raw.begin() + named.size());
        raw.insert(raw.begin(), value);
        namedIds.insert(namedIds.begin(), DISPID_PROPERTYPUT);
    }
    DISPPARAMS params{raw.data(), namedIds.data(), static_cast<UINT>(raw.size()),
                      static_cast<UINT>(namedIds.size())};
    result.hr = object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                               result.value.Put(), &result.exception, &result.argError);
    return result;
}

CallResult CallMethod(IDispatch* object, const wchar_t* name, std::vector<Variant> args) {
    return Call(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args));
}

CallResult GetProperty(IDispatch* object, const wchar_t* name, std::vector<Variant> args) {
    return Call(object, name, DISPATCH_PROPERTYGET, std::move(args));
}

CallResult PutProperty(IDispatch* object, const wchar_t* name, std::vector<Variant> args) {
    return Call(object, name, DISPATCH_PROPERTYPUT, std::move(args));
}

CallResult PutRefProperty(IDispatch* object, const wchar_t* name, Variant value) {
    std::vector<Variant> args;
    args.push_back(std::move(value));
    return Call(object, name, DISPATCH_PROPERTYPUTREF, std::move(args));
}

ErrorSeen ErrorOf(const CallResult& result) {
    ErrorSeen seen;
    HRESULT code = result.exception.scode;
    seen.number = HRESULT_FACILITY(code) == FACILITY_CONTROL ? HRESULT_CODE(code) : code;
    if (result.exception.bstrSource) seen.source = result.exception.bstrSource;
    if (result.exception.bstrDescription) seen.description = result.exception.bstrDescription;
    return seen;
}

ErrorSeen LastError(HRESULT hr) {
    ErrorSeen seen;
    try {
        ThrowIfFailed(hr);
    } catch (const AutomationError& error) {
        seen.number = error.Number();
        seen.source = error.Source();
        seen.description = error.Description();
    }
    return seen;
}

std::wstring Str(const Variant& value) {
    Variant text;
    if (FAILED(VariantChangeType(text.Get(), const_cast<VARIANT*>(value.Get()), 0, VT_BSTR)))
        return L"<not text>";
    return std::wstring(Bstr::ViewOf(V_BSTR(text.Get())));
}

void ComTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    objectsAtStart_ = module::LiveObjects();
}

void ComTest::TearDown() {
    EXPECT_EQ(module::LiveObjects(), objectsAtStart_) << "objects still alive after the test";
    CoUninitialize();
}

}  // namespace zolbex::testing
