// How many kernel handles (registry keys among them) this process holds open, from the system's
// handle table: GetProcessHandleCount answers 0 under Wine.
#pragma once

#include <cstddef>

namespace zolbex::testing {

// The count, or 0 when the system does not answer.
size_t OpenHandlesOfThisProcess();

}  // namespace zolbex::testing
