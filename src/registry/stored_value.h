// A registry value as stored (type and bytes) and its VARIANT form for readers.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "library/variant.h"
#include "platform/stored_data.h"

namespace zolbex {

using StoredValue = platform::StoredData;

// Reads one value of an open key through the platform in use (see ReadStoredData).
std::optional<StoredValue> ReadStoredValue(HKEY key, const std::wstring& name);

// A 32-bit byte swap: 11 22 33 44 becomes 44 33 22 11.
LONG ReverseByteOrder(LONG value);

// The VARIANT a read returns for a stored value: text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ by the
// rules of stored_data.h; an expandable text is expanded when `expand`, and a text that cannot be
// expanded whole raises "Out of string space"), a LONG (REG_DWORD from its first four bytes,
// REG_DWORD_BIG_ENDIAN byte-swapped), or a byte array with lower bound 0 for every other type.
Variant VariantFromStored(const StoredValue& stored, bool expand);

}  // namespace zolbex
