#include "com_test_support.h"

#include <algorithm>

#include "library/errors.h"

namespace zolbex::testing {

Variant Text(const wchar_t* text) {
    Variant v;
    V_VT(v.Get()) = VT_BSTR;
    V_BSTR(v.Get()) = SysAllocString(text);
    return v;
}

Variant Long(LONG value) {
    Variant v;
    V_VT(v.Get()) = VT_I4;
    V_I4(v.Get()) = value;
    return v;
}

Variant Short(SHORT value) {
    Variant v;
    V_VT(v.Get()) = VT_I2;
    V_I2(v.Get()) = value;
    return v;
}

Variant Double(double value) {
    Variant v;
    V_VT(v.Get()) = VT_R8;
    V_R8(v.Get()) = value;
    return v;
}

Variant Bool(bool value) {
    Variant v;
    V_VT(v.Get()) = VT_BOOL;
    V_BOOL(v.Get()) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant RefTo(VARIANT* variable) {
    Variant v;
    V_VT(v.Get()) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(v.Get()) = variable;
    return v;
}

Variant RefToBstr(BSTR* variable) {
    Variant v;
    V_VT(v.Get()) = VT_BYREF | VT_BSTR;
    V_BSTRREF(v.Get()) = variable;
    return v;
}

Variant RefToLong(LONG* variable) {
    Variant v;
    V_VT(v.Get()) = VT_BYREF | VT_I4;
    V_I4REF(v.Get()) = variable;
    return v;
}

Variant Missing() {
    Variant v;
    V_VT(v.Get()) = VT_ERROR;
    V_ERROR(v.Get()) = DISP_E_PARAMNOTFOUND;
    return v;
}

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
