// The exported entry points of zolbex11.dll.
#include <windows.h>
#include <objbase.h>

#include <cwchar>

#include "library/class_factory.h"
#include "library/class_table.h"
#include "library/dispatcher.h"
#include "library/module.h"
#include "library/registration.h"

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Per-thread data are thread_local and end with their thread. The type library and the
    // dispatch tables built from it hold COM pointers: they are released when a client frees
    // the DLL (reserved is null), and left alone at process exit (reserved is not), when the
    // DLLs they point into may be gone already.
    if (reason == DLL_PROCESS_DETACH && !reserved) zolbex::DispatchTable::ReleaseAll();
    return TRUE;
}

HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    zolbex::ClassCreator create = zolbex::FindCreator(clsid);
    if (!create) return CLASS_E_CLASSNOTAVAILABLE;
    return zolbex::GetClassFactory(create, iid, out);
}

HRESULT WINAPI DllCanUnloadNow() { return zolbex::module::CanUnload() ? S_OK : S_FALSE; }

HRESULT WINAPI DllRegisterServer() {
    return zolbex::RegisterServer(zolbex::RegistrationScope::Machine);
}

HRESULT WINAPI DllUnregisterServer() {
    return zolbex::UnregisterServer(zolbex::RegistrationScope::Machine);
}

// "regsvr32 /n /i:user" registers for the current user only; any other command line means the
// machine-wide registration.
HRESULT WINAPI DllInstall(BOOL install, LPCWSTR commandLine) {
    const auto scope = commandLine && _wcsicmp(commandLine, L"user") == 0
                           ? zolbex::RegistrationScope::User
                           : zolbex::RegistrationScope::Machine;
    return install ? zolbex::RegisterServer(scope) : zolbex::UnregisterServer(scope);
}

}  // extern "C"
