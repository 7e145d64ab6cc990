// The environment members of the global application object.
#include "runtime/runtime_object.h"

namespace zolbex {

HRESULT RunTimeObject::EnvironGet(zolbexEnvironmentStyleConstants*, BSTR*, VARIANT_BOOL*, BSTR* pRetVal) {
    if (!pRetVal) return E_POINTER;
    *pRetVal = nullptr;
    return Guarded([] { RaiseNotAvailable(L"EnvironGet"); });
}

HRESULT RunTimeObject::EnvironSet(zolbexEnvironmentStyleConstants*, BSTR*, BSTR*, BSTR* pRetVal) {
    if (!pRetVal) return E_POINTER;
    *pRetVal = nullptr;
    return Guarded([] { RaiseNotAvailable(L"EnvironSet"); });
}

HRESULT RunTimeObject::EnvironList(zolbexEnvironmentStyleConstants*, _clsZolbexENVValuePairsA** pRetVal) {
    if (!pRetVal) return E_POINTER;
    *pRetVal = nullptr;
    return Guarded([] { RaiseNotAvailable(L"EnvironList"); });
}

}  // namespace zolbex
