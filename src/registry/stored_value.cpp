#include "registry/stored_value.h"

#include <oleauto.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "library/bstr.h"
#include "platform/platform.h"

namespace zolbex {
namespace {

// Room for most values (an environment variable's text, say) in the first query.
constexpr size_t kFirstReadBytes = 1024;

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
    platform::Platform& registry = platform::Current();
    StoredValue stored;
    // The first query offers a buffer that most values fit, so the size probe and the read are
    // usually one call; a value that does not fit reports its size and is read again, as often
    // as it keeps growing.
    stored.bytes.assign(kFirstReadBytes, 0);
    for (;;) {
        DWORD size = static_cast<DWORD>(stored.bytes.size());
        LONG result = registry.QueryValue(key, name, &stored.type, stored.bytes.data(), &size);
        if (result == ERROR_MORE_DATA) {
            // The reported size, or twice the buffer where the report says no more (the
            // performance-data root leaves the size undefined).
            const size_t offered = stored.bytes.size();
            stored.bytes.assign(size > offered ? size : offered * 2, 0);
            continue;
        }
        if (result != ERROR_SUCCESS) return std::nullopt;  // missing, or not to be queried
        stored.bytes.resize(size);
        return stored;
    }
}

std::wstring TextOfStoredBytes(const std::vector<BYTE>& bytes) {
    const size_t units = bytes.empty() ? 0 : (bytes.size() - 1) / sizeof(wchar_t);
    std::wstring text(units, L'\0');
    if (units) std::memcpy(text.data(), bytes.data(), units * sizeof(wchar_t));
    return text;
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
            std::wstring text = TextOfStoredBytes(stored.bytes);
            if (stored.type == REG_EXPAND_SZ && expand) {
                // A failed expansion leaves the text as stored.
                if (auto expanded = platform::Current().ExpandEnvironmentText(text)) text = std::move(*expanded);
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
