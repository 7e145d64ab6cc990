// Library-wide bookkeeping: live objects and server locks (for DllCanUnloadNow) and the module
// that holds the library code (the DLL, or the test executable that links the code directly).
#pragma once

#include <windows.h>

#include <string>

namespace zolbex::module {

void ObjectCreated();
void ObjectDestroyed();
void Lock();
void Unlock();  // never below zero
// True when no object exists and no class factory is locked.
bool CanUnload();
long LiveObjects();
// Objects created since the module was loaded: also counts one made and released again, which
// the live count cannot show.
long ObjectsMade();

HMODULE Handle();
// The module's file path as a normal path (no "\\?\" prefix).
std::wstring Path();

}  // namespace zolbex::module
