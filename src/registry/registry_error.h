// The registry object's errors, raised from the library's error table with the location filled
// in. The root is always written as ClassKey in signed decimal, and several texts deliberately
// end without a closing apostrophe.
#pragma once

#include <windows.h>

#include <string>

#include "library/errors.h"
#include "registry/registry_location.h"

namespace zolbex {

inline constexpr long kRegistryKeyError = RowOf(Error::RegistryCreate).number;
inline constexpr long kValueWriteError = RowOf(Error::RegistryWriteFailed).number;
inline constexpr long kListingError = RowOf(Error::RegistryListing).number;

// The root as it appears in descriptions: HKEY_CURRENT_USER is "-2147483647".
std::wstring RootText(LONG classKey);

[[noreturn]] void RaiseCreateKeyFailed(const RegistryLocation& location);
[[noreturn]] void RaiseDeleteKeyFailed(const RegistryLocation& location);
[[noreturn]] void RaiseOpenForDeleteFailed(const RegistryLocation& location);
[[noreturn]] void RaiseDeleteValueFailed(const RegistryLocation& location);

// A write whose key cannot be opened or created (26001), and a write that fails (0x800469A9);
// both describe the location and the value shown as text.
[[noreturn]] void RaiseKeyNotWritable(const RegistryLocation& location, const std::wstring& valueText);
[[noreturn]] void RaiseWriteFailed(const RegistryLocation& location, const std::wstring& valueText);

// A binary write of something that is not a byte array: 26001 without a source or description
// of its own, so it carries the library's default source and the runtime's text for it.
[[noreturn]] void RaiseBinaryNeedsByteArray();

// Any unexpected failure while listing sub-keys, re-raised with the trapped description.
[[noreturn]] void RaiseListingFailed(const std::wstring& trappedDescription);

}  // namespace zolbex
