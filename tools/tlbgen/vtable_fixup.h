// oleaut32 records an interface's vtable size (cbSizeVft) from the pointer size of the
// process that writes the library, not of its target, and without the undescribed let slots.
// This rewrites the recorded sizes in the written file.
#pragma once

#include "library/catalogue.h"

#include <string>

namespace zolbex::tlbgen {

// Sets the vtable size of every interface of `lib` in the type library file at `path` to its
// slot count times the target's pointer size. Returns how many entries needed a change.
int FixVtableSizes(const catalogue::Library& lib, SYSKIND syskind, const std::wstring& path);

}  // namespace zolbex::tlbgen
