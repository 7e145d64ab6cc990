// The enumerator behind a pair collection's NewEnum (For Each): yields each pair as a
// VT_DISPATCH variant in position order.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>

#include "library/com_ptr.h"

namespace zolbex {

class ValuePairs;

// A new enumerator over `pairs` (which it keeps alive), starting before the pair at 0-based
// `position`.
ComPtr<IEnumVARIANT> NewPairEnumerator(ValuePairs* pairs, size_t position = 0);

}  // namespace zolbex
