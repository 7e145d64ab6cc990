#include "registry/stored_value.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "library/bstr.h"
#include "library/errors.h"
#include "platform/platform.h"

namespace zolbex {
namespace {

// The first four bytes as a little-endian integer; missing bytes count as 0 and bytes beyond
// the fourth are ignored.
LONG IntegerOfStoredBytes(const std::vector<BYTE>& bytes) {
    DWORD value = 0;
    if (!bytes.empty()) std::memcpy(&value, bytes.data(), std::min<size_t>(bytes.size(), sizeof value));
    return static_cast<LONG>(value);
}

void SetByteArray(const std::vector<BYTE>& bytes, VARIANT* out) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(bytes.size()), 0};
    SAFEARRAY* array = SafeArrayCreate(VT_UI1, 1, &bound);
    if (!array) throw std::bad_alloc();
    if (!bytes.empty()) std::memcpy(array->pvData, bytes.data(), bytes.size());
    V_VT(out) = VT_ARRAY | VT_UI1;
    V_ARRAY(out) = array;
}

}  // namespace

std::optional<StoredValue> ReadStoredValue(HKEY key, const std::wstring& name) {
    return platform::ReadStoredData(platform::Current(), key, name);
}

LONG ReverseByteOrder(LONG value) {
    const DWORD x = static_cast<DWORD>(value);
    return static_cast<LONG>((x >> 24) | ((x >> 8) & 0x0000FF00u) | ((x << 8) & 0x00FF0000u) | (x << 24));
}

Variant VariantFromStored(const StoredValue& stored, bool expand) {
    Variant result;
    switch (stored.type) {
        case REG_SZ:
        case REG_EXPAND_SZ:
        case REG_MULTI_SZ: {
            std::wstring text = platform::TextOfStoredString(stored.bytes);
            if (stored.type == REG_EXPAND_SZ && expand) {
                // The whole expansion or none: a cut text must never pass for the value.
                auto expanded = platform::Current().ExpandEnvironmentText(text);
                if (!expanded) Raise(Error::OutOfStringSpace);
                text = std::move(*expanded);
            }
            V_BSTR(result.Get()) = NewBstr(text);
            V_VT(result.Get()) = VT_BSTR;
            break;
        }
        case REG_DWORD:
            V_VT(result.Get()) = VT_I4;
            V_I4(result.Get()) = IntegerOfStoredBytes(stored.bytes);
            break;
        case REG_DWORD_BIG_ENDIAN:
            V_VT(result.Get()) = VT_I4;
            V_I4(result.Get()) = ReverseByteOrder(IntegerOfStoredBytes(stored.bytes));
            break;
        default:
            SetByteArray(stored.bytes, result.Get());
            break;
    }
    return result;
}

}  // namespace zolbex
