// A registry value as stored (type and bytes) and its VARIANT form for readers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "library/variant.h"

namespace zolbex {

struct StoredValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;
};

// Reads one value of an open key, querying again with the reported size until the buffer fits
// (the value may grow between two queries), so the bytes are always one complete value.
// Nothing when the value is missing or cannot be queried.
std::optional<StoredValue> ReadStoredValue(HKEY key, const std::wstring& name);

// A text value's characters: every stored byte except the last one, taken as whole UTF-16
// units. The last unit is normally the terminator (a value stored without one loses its last
// character); an odd byte count drops just its stray final byte; no bytes at all is empty text.
std::wstring TextOfStoredBytes(const std::vector<BYTE>& bytes);

// A 32-bit byte swap: 11 22 33 44 becomes 44 33 22 11.
LONG ReverseByteOrder(LONG value);

// The VARIANT a read returns for a stored value: text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ; an
// expandable text is expanded when `expand`), a LONG (REG_DWORD from its first four bytes,
// REG_DWORD_BIG_ENDIAN byte-swapped), or a byte array with lower bound 0 for every other type.
Variant VariantFromStored(const StoredValue& stored, bool expand);

}  // namespace zolbex
