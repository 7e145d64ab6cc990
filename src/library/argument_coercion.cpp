#include "library/argument_coercion.h"

#include "library/variant.h"
#include "library/variant_references.h"

namespace zolbex {
namespace {

// Coerces `source` (possibly by-ref) to an interface pointer of the parameter's interface.
HRESULT CoerceToInterface(const ParamInfo& param, VARIANT* source, VARIANT* out) {
    Variant value;
    HRESULT hr = VariantCopyInd(value.Get(), source);
    if (FAILED(hr)) return hr;
    IUnknown* unknown = nullptr;
    switch (value.Type()) {
        case VT_EMPTY: break;  // Nothing
        case VT_UNKNOWN: case VT_DISPATCH: unknown = V_UNKNOWN(value.Get()); break;
        default: return DISP_E_TYPEMISMATCH;
    }
    V_VT(out) = param.type;
    V_UNKNOWN(out) = nullptr;
    if (!unknown) return S_OK;
    hr = unknown->QueryInterface(param.interfaceId, reinterpret_cast<void**>(&V_UNKNOWN(out)));
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

HRESULT CoerceToArray(const ParamInfo& param, VARIANT* source, VARIANT* out) {
    Variant value;
    HRESULT hr = VariantCopyInd(value.Get(), source);
    if (FAILED(hr)) return hr;
    if (value.Type() == param.type) {
        value.Detach(out);
        return S_OK;
    }
    // An array passed in to be filled: anything else (Empty, a script array) starts empty.
    if (param.byRef) {
        V_VT(out) = param.type;
        V_ARRAY(out) = nullptr;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

}  // namespace

HRESULT Coerce(const ParamInfo& param, VARIANT* source, VARIANT* out) {
    // A chain of references is followed to its end (the dispatcher has checked that it ends).
    source = const_cast<VARIANT*>(EndOfReferences(source));
    if (!source) return E_INVALIDARG;
    if (param.type == VT_VARIANT) return VariantCopyInd(out, source);
    if (param.type == VT_DISPATCH || param.type == VT_UNKNOWN)
        return CoerceToInterface(param, source, out);
    if (param.type & VT_ARRAY) return CoerceToArray(param, source, out);
    return VariantChangeType(out, source, 0, param.type);
}

HRESULT OmittedValue(const ParamInfo& param, VARIANT* out) {
    if (!param.hasDefault) {
        ZeroValue(param.type, out);
        return S_OK;
    }
    VARIANT* value = const_cast<VARIANT*>(param.defaultValue.Get());
    return param.type == VT_VARIANT ? VariantCopy(out, value)
                                    : VariantChangeType(out, value, 0, param.type);
}

void ZeroValue(VARTYPE type, VARIANT* out) {
    VariantInit(out);
    if (type == VT_VARIANT) {
        V_VT(out) = VT_ERROR;
        V_ERROR(out) = DISP_E_PARAMNOTFOUND;
        return;
    }
    V_VT(out) = type;
    V_I8(out) = 0;
}

}  // namespace zolbex
