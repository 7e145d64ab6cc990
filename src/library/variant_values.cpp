#include "library/variant_values.h"

#include <oleauto.h>

#include <new>

#include "library/bstr.h"
#include "library/errors.h"
#include "library/variant_references.h"

namespace zolbex {
namespace {

// Raises the runtime's error for a failed conversion of a value (the callee sets no error object).
[[noreturn]] void RaiseConversionFailure(HRESULT hr) {
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (hr == DISP_E_OVERFLOW) Raise(Error::Overflow);
    Raise(Error::TypeMismatch);
}

bool IsObject(VARTYPE type) { return type == VT_DISPATCH || type == VT_UNKNOWN; }

}  // namespace

Variant CopyOf(const VARIANT& value) {
    // A reference that breaks off or never ends is refused, not followed.
    const VARIANT* end = EndOfReferences(&value);
    if (!IsReadable(end)) Raise(Error::InvalidCall);
    Variant copy;
    HRESULT hr = VariantCopyInd(copy.Get(), const_cast<VARIANT*>(end));
    if (FAILED(hr)) RaiseConversionFailure(hr);
    return copy;
}

Variant ValueOf(const VARIANT& value) {
    Variant copy = CopyOf(value);
    if (copy.Type() != VT_DISPATCH) return copy;
    IDispatch* object = V_DISPATCH(copy.Get());
    if (!object) Raise(Error::ObjectNotSet);
    Variant result;
    DISPPARAMS none{};
    HRESULT hr = object->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                &none, result.Get(), nullptr, nullptr);
    if (FAILED(hr)) Raise(Error::NoSuchMember);
    return result;
}

std::wstring ValueAsText(const VARIANT& value) {
    Variant text;
    HRESULT hr = VariantChangeType(text.Get(), const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR);
    if (FAILED(hr)) RaiseConversionFailure(hr);
    return std::wstring(Bstr::ViewOf(V_BSTR(text.Get())));
}

bool IsOmitted(const VARIANT* arg) {
    return !arg || (V_VT(arg) == VT_ERROR && V_ERROR(arg) == DISP_E_PARAMNOTFOUND);
}

std::wstring DescribeValue(const VARIANT& value) {
    VARTYPE type = V_VT(&value) & ~VT_BYREF;
    if ((type & VT_ARRAY) || IsObject(type)) return std::wstring();
    try {
        return ValueAsText(value);
    } catch (...) {
        return std::wstring();
    }
}

}  // namespace zolbex
