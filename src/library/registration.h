// What registration records: the type library, every creatable class with its ProgID, and every
// interface identifier (the runtime interface's second one included) as an automation interface.
#pragma once

#include <windows.h>

namespace zolbex {

enum class RegistrationScope {
    Machine,  // HKEY_LOCAL_MACHINE\Software\Classes (regsvr32)
    User,     // HKEY_CURRENT_USER\Software\Classes (regsvr32 /n /i:user), needs no administrator
};

// Neither lets an exception out: an exhausted allocation is E_OUTOFMEMORY, and every key
// opened on the way is closed again.
HRESULT RegisterServer(RegistrationScope scope);
// Removes the keys RegisterServer records, except those the other pointer size's DLL still
// needs: its classes' ProgIDs and the type library's version key stay while the other
// registry view registers a class (the two DLLs side by side on 64-bit Windows); keys already
// gone are no error.
HRESULT UnregisterServer(RegistrationScope scope);

// The same two below a classes root the caller opened (tests register into a scratch key).
// `otherViewRoot` is the root as the other registry view sees it, opened with that view's
// flag, or null where there is none.
HRESULT RegisterInto(HKEY classesRoot);
HRESULT UnregisterFrom(HKEY classesRoot, HKEY otherViewRoot);

}  // namespace zolbex
