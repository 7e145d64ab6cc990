// The override-and-restore rule of ReadKey and WriteKey: a non-empty ValueKey or SectionKey
// argument and a nonzero ClassKey argument each replace the object's own for one call, and
// only what was replaced is put back, once the call has succeeded (a call that raises leaves
// the arguments in place).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>

#include "registry/registry_location.h"

namespace zolbex {

class LocationOverride {
public:
    // Null pointers count as omitted arguments.
    LocationOverride(RegistryLocation& location, const BSTR* valueKey, const BSTR* sectionKey, const LONG* classKey);

    // Puts back, in this order, ValueKey, SectionKey and ClassKey where they were replaced.
    void Restore();

private:
    RegistryLocation& location_;
    std::optional<std::wstring> valueKey_;
    std::optional<std::wstring> sectionKey_;
    std::optional<LONG> classKey_;
};

}  // namespace zolbex
