// Registry data as the registry reports it, and the one rule that turns stored string data into
// characters. Every reader of string data (the registry object and everything built on it, the
// settings store) goes through these, so a value reads the same whatever the platform does with
// the part of the buffer beyond the data.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace zolbex::platform {

struct StoredData {
    DWORD type = REG_NONE;
    std::vector<BYTE> bytes;  // exactly the bytes the registry reported, never its padding
};

// Reads one value of an open key through `registry`, querying again with the reported size
// until the buffer fits (the value may grow between two queries), so the bytes are always one
// complete value. Only the reported size counts: Wine writes a terminator after string data
// when the buffer has room, Windows leaves the rest of the buffer alone, and neither counts it.
// Nothing when the value is missing or cannot be queried.
std::optional<StoredData> ReadStoredData(Platform& registry, HKEY key, const std::wstring& name);

struct NamedStoredData {
    std::wstring name;
    StoredData data;
};

// The name and data of the value at `index` of an open key in one registry call (a listing that
// reads every value then costs one round trip per value, not an enumeration and a query). As
// ReadStoredData, the call is made again at the reported size while the data does not fit (the
// value may grow between two calls), and only the reported size counts. `longestName` is the key's
// longest value name in characters (QueryKeyInfo); a longer one, written since, is given room.
// Nothing past the last value, or when the value cannot be read.
std::optional<NamedStoredData> ReadEnumeratedData(Platform& registry, HKEY key, DWORD index, DWORD longestName);

// The characters of REG_SZ, REG_EXPAND_SZ or REG_MULTI_SZ data: the whole UTF-16 units of the
// bytes (a stray odd byte is dropped), less exactly one terminating NUL where the data ends with
// one. A value stored without a terminator keeps every character; embedded NULs, and a second
// terminator, stay in the text, so a multi-string keeps its separators and the NUL after its
// last string and loses only the list's final terminator.
std::wstring TextOfStoredString(const std::vector<BYTE>& bytes);

}  // namespace zolbex::platform
