// CreateEXEAssociation and CreateAdditionalEXEAssociations: file associations, still to come.
#include "registry/registry_object.h"

namespace zolbex {

HRESULT RegistryObject::CreateEXEAssociation(BSTR, BSTR, BSTR, BSTR, BSTR, VARIANT_BOOL, BSTR, VARIANT_BOOL, BSTR,
                                             VARIANT_BOOL, BSTR, LONG) {
    return Guarded([&] { RaiseNotAvailable(L"CreateEXEAssociation"); });
}

HRESULT RegistryObject::CreateAdditionalEXEAssociations(BSTR, SAFEARRAY**) {
    return Guarded([&] { RaiseNotAvailable(L"CreateAdditionalEXEAssociations"); });
}

}  // namespace zolbex
