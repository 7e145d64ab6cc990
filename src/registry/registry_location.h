// Where a registry object points: root, key path below it, and value name.
#pragma once

#include <windows.h>

#include <string>

namespace zolbex {

struct RegistryLocation {
    LONG classKey = 0;        // an ERegistryClassConstants value; 0 is no root at all
    std::wstring sectionKey;  // key path below the root; empty is the root itself
    std::wstring valueKey;    // value name; empty is the key's unnamed value
};

}  // namespace zolbex
