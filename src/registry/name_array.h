// The caller's by-reference name list of EnumerateValues and EnumerateSections: an array of
// BSTR with lower bound 1 and its count. No names is a count of 0 and no array at all.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

namespace zolbex {

// Discards whatever the caller's array and count held.
void ClearNames(SAFEARRAY** array, LONG* count);

// Replaces the caller's array and count with `names` (bounds 1 to the count).
void StoreNames(const std::vector<std::wstring>& names, SAFEARRAY** array, LONG* count);

}  // namespace zolbex
