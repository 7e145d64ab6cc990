// The class factory handed out by DllGetClassObject for each creatable class.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "library/class_table.h"

namespace zolbex {

// A new factory for the class `create` makes, queried for `iid`.
HRESULT GetClassFactory(ClassCreator create, REFIID iid, void** out);

}  // namespace zolbex
