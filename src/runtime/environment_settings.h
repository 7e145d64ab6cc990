// The two entries of the per-user application settings store that EnvironSet uses: the
// "CleanMachineEnvVar" switch, and the record of every variable set.
#pragma once

#include <string>

namespace zolbex {

// Read afresh on every call: true when the switch holds 1. A missing entry counts as 0; a text
// that is not a whole number raises the runtime's type-mismatch error (13), one beyond the
// 32-bit range its overflow error (6).
bool CleanSwitchIsOn();

// Records the value set for a variable, under the variable's name as given.
void RecordVariableSet(const std::wstring& name, const std::wstring& value);

}  // namespace zolbex
