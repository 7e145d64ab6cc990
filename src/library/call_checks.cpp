#include "library/call_checks.h"

#include "library/variant_references.h"

namespace zolbex {

HRESULT CheckDispParams(const DISPPARAMS& params, UINT* badArgument) {
    if (params.cArgs > 0 && !params.rgvarg) return E_INVALIDARG;
    if (params.cNamedArgs > 0 && !params.rgdispidNamedArgs) return E_INVALIDARG;
    if (params.cNamedArgs > params.cArgs) return E_INVALIDARG;
    for (UINT i = 0; i < params.cArgs; ++i) {
        if (!IsReadable(&params.rgvarg[i])) {
            if (badArgument) *badArgument = i;
            return E_INVALIDARG;
        }
    }
    return S_OK;
}

HRESULT CheckNamesRequest(REFIID iid, LPOLESTR* names, UINT count, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (count > 0 && (!names || !ids)) return E_INVALIDARG;
    return S_OK;
}

}  // namespace zolbex
