// Where a VARIANT keeps its value, and how many bytes of it a by-ref pointer of a type reaches:
// for handing a temporary's storage to a by-ref parameter and for writing a value back in place.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>

namespace zolbex {

// 0 for a type that is not written back in place (VT_VARIANT, VT_DECIMAL, records...).
inline size_t DataSize(VARTYPE type) {
    if (type & VT_ARRAY) return sizeof(SAFEARRAY*);
    switch (type) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
        case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: return sizeof(void*);
        default: return 0;
    }
}

inline void* DataOf(VARIANT* v) { return &V_I8(v); }
inline const void* DataOf(const VARIANT* v) { return &V_I8(v); }

}  // namespace zolbex
