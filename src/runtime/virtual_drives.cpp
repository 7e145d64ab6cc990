// The virtual-drive members of the global application object.
#include "runtime/runtime_object.h"

namespace zolbex {

HRESULT RunTimeObject::CreateVirtualDrive(LONG*, BSTR*, BSTR*, BSTR*, VARIANT_BOOL*) {
    return Guarded([] { RaiseNotAvailable(L"CreateVirtualDrive"); });
}

HRESULT RunTimeObject::CreateVirtualDriveHV(LONG*, BSTR*, VARIANT_BOOL*) {
    return Guarded([] { RaiseNotAvailable(L"CreateVirtualDriveHV"); });
}

HRESULT RunTimeObject::CreateVirtualDriveHVWin(LONG*, BSTR*, VARIANT_BOOL*) {
    return Guarded([] { RaiseNotAvailable(L"CreateVirtualDriveHVWin"); });
}

HRESULT RunTimeObject::CreateVirtualDriveHVPro(LONG*, BSTR*, VARIANT_BOOL*) {
    return Guarded([] { RaiseNotAvailable(L"CreateVirtualDriveHVPro"); });
}

}  // namespace zolbex
