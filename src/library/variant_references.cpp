#include "library/variant_references.h"

namespace zolbex {

const VARIANT* EndOfReferences(const VARIANT* value) {
    for (int followed = 0; value && V_VT(value) == (VT_BYREF | VT_VARIANT); ++followed) {
        if (followed == kLongestReferenceChain) return nullptr;
        value = V_VARIANTREF(value);
    }
    return value;
}

bool IsReadable(const VARIANT* value) {
    const VARIANT* end = EndOfReferences(value);
    if (!end) return false;
    // A record carries its data and its description as two pointers of its own.
    if (V_VT(end) & VT_BYREF) return V_BYREF(end) != nullptr || (V_VT(end) & ~VT_BYREF) == VT_RECORD;
    return true;
}

}  // namespace zolbex
