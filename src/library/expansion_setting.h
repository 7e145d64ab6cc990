// The library-wide expansion setting behind ExpandEnvVar: one value per thread, False when a
// thread first uses the library.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace zolbex {

VARIANT_BOOL ThreadExpansionSetting();
void SetThreadExpansionSetting(VARIANT_BOOL value);

}  // namespace zolbex
