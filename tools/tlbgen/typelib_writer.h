// Writes the catalogue as a type library file with oleaut32's ICreateTypeLib2.
#pragma once

#include "library/catalogue.h"

#include <string>

namespace zolbex::tlbgen {

// Pointer size of the target: 4 for SYS_WIN32, 8 for SYS_WIN64.
int PointerSize(SYSKIND syskind);

// Writes `path`; throws GenerationError on any failure. The vtable sizes it records may still
// be wrong for a target of another pointer size than this process (see vtable_fixup.h).
void WriteTypeLibrary(const catalogue::Library& lib, SYSKIND syskind, const std::wstring& path);

}  // namespace zolbex::tlbgen
