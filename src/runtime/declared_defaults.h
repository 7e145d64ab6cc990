// The defaults the catalogue declares for the runtime object's optional parameters. A vtable
// caller leaves such a by-ref argument out by passing a null pointer; the member then reads the
// same default a late-bound caller gets from the type library.
#pragma once

#include <windows.h>

#include <string>

namespace zolbex {

// The declared default of parameter `param` of the runtime object's member `member`.
LONG DeclaredLong(const char* member, const char* param);
std::wstring DeclaredText(const char* member, const char* param);

}  // namespace zolbex
