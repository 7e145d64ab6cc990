// The library's own type library, loaded from the module's embedded resource.
#pragma once

#include <oaidl.h>

#include "library/com_ptr.h"

namespace zolbex {

// The type library embedded in this module; throws AutomationError when it cannot be loaded.
ComPtr<ITypeLib> OwnTypeLib();
// Releases the cached type library (the next OwnTypeLib loads it again).
void ReleaseOwnTypeLib();

}  // namespace zolbex
