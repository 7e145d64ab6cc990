#include "library/write_back.h"

#include <cstring>

#include "library/bstr.h"
#include "library/variant.h"
#include "library/variant_data.h"
#include "library/variant_references.h"

namespace zolbex {
namespace {

// A one-dimensional typed array turned into an array of VARIANT with the same bounds.
HRESULT ToVariantArray(SAFEARRAY* typed, VARIANT* out) {
    V_VT(out) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(out) = nullptr;
    if (!typed) return S_OK;
    VARTYPE elementType = VT_EMPTY;
    HRESULT hr = SafeArrayGetVartype(typed, &elementType);
    if (FAILED(hr)) return hr;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(typed, 1, &lower);
    SafeArrayGetUBound(typed, 1, &upper);
    SAFEARRAYBOUND bound{static_cast<ULONG>(upper - lower + 1), lower};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!array) return E_OUTOFMEMORY;
    for (LONG i = lower; i <= upper && SUCCEEDED(hr); ++i) {
        Variant element;
        V_VT(element.Get()) = elementType;
        hr = SafeArrayGetElement(typed, &i, DataOf(element.Get()));
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(array, &i, element.Get());
    }
    if (FAILED(hr)) {
        SafeArrayDestroy(array);
        return hr;
    }
    V_ARRAY(out) = array;
    return S_OK;
}

// `value` as a caller's variable of type `type` holds it.
HRESULT ConvertForCaller(VARIANT* value, VARTYPE type, VARIANT* out) {
    // Only the one-dimensional arrays the library hands out are turned into VARIANT arrays; any
    // other array goes back as it is.
    const bool typedArray = (V_VT(value) & VT_ARRAY) && V_VT(value) != (VT_ARRAY | VT_VARIANT) &&
                            (!V_ARRAY(value) || SafeArrayGetDim(V_ARRAY(value)) == 1);
    if (typedArray && (type == VT_VARIANT || type == (VT_ARRAY | VT_VARIANT)))
        return ToVariantArray(V_ARRAY(value), out);
    if (type == VT_VARIANT) return VariantCopy(out, value);
    return VariantChangeType(out, value, 0, type);
}

}  // namespace

bool ChangedByCallee(const VARIANT& now, const VARIANT& passedIn) {
    if (V_VT(&now) != V_VT(&passedIn) || (V_VT(&now) & VT_ARRAY)) return true;
    if (V_VT(&now) == VT_BSTR) return Bstr::ViewOf(V_BSTR(&now)) != Bstr::ViewOf(V_BSTR(&passedIn));
    const size_t size = DataSize(V_VT(&now));
    return size == 0 || std::memcmp(DataOf(&now), DataOf(&passedIn), size) != 0;
}

VARIANT* WriteBackTarget(VARIANT* arg) {
    if (!(V_VT(arg) & VT_BYREF)) return nullptr;
    for (int followed = 0; V_VT(arg) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(arg) &&
                           (V_VT(V_VARIANTREF(arg)) & VT_BYREF);
         ++followed) {
        if (followed == kLongestReferenceChain) return nullptr;
        arg = V_VARIANTREF(arg);
    }
    return arg;
}

bool CanHoldArray(const VARIANT& target, VARTYPE arrayType) {
    const VARTYPE held = V_VT(&target) & ~VT_BYREF;
    return held == VT_VARIANT || held == (VT_ARRAY | VT_VARIANT) || held == arrayType;
}

HRESULT WriteBack(VARIANT* value, VARIANT* target) {
    if (!(V_VT(target) & VT_BYREF) || !V_BYREF(target)) return E_INVALIDARG;
    const VARTYPE targetType = V_VT(target) & ~VT_BYREF;
    Variant converted;
    if (targetType == VT_VARIANT) {
        HRESULT hr = ConvertForCaller(value, VT_VARIANT, converted.Get());
        if (FAILED(hr)) return hr;
        VARIANT* slot = V_VARIANTREF(target);
        hr = VariantClear(slot);
        if (FAILED(hr)) return hr;
        converted.Detach(slot);
        return S_OK;
    }
    // A decimal fills the whole VARIANT it lives in; everything else sits at the data offset.
    const size_t size = targetType == VT_DECIMAL ? sizeof(DECIMAL) : DataSize(targetType);
    if (!size) return DISP_E_TYPEMISMATCH;
    HRESULT hr = ConvertForCaller(value, targetType, converted.Get());
    if (FAILED(hr)) return hr;
    void* from = targetType == VT_DECIMAL ? static_cast<void*>(&V_DECIMAL(converted.Get())) : DataOf(converted.Get());
    if (targetType != VT_DECIMAL) {
        // The variable's old value is released, then the converted one moves into its storage.
        VARIANT old;
        VariantInit(&old);
        V_VT(&old) = targetType;
        std::memcpy(DataOf(&old), V_BYREF(target), size);
        hr = VariantClear(&old);
        if (FAILED(hr)) return hr;
    }
    std::memcpy(V_BYREF(target), from, size);
    VariantInit(converted.Get());  // ownership moved to the caller's variable
    return S_OK;
}

}  // namespace zolbex
