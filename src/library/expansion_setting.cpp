#include "library/expansion_setting.h"

namespace zolbex {
namespace {
thread_local VARIANT_BOOL t_expandEnvironment = VARIANT_FALSE;
}  // namespace

VARIANT_BOOL ThreadExpansionSetting() { return t_expandEnvironment; }
void SetThreadExpansionSetting(VARIANT_BOOL value) { t_expandEnvironment = value; }

}  // namespace zolbex
