// The VARIANT conversions every layer needs: value copies, the text form of a value (the
// automation runtime's standard conversion) and the text shown in error descriptions.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "library/variant.h"

namespace zolbex {

// An optional argument left out: none at its place (a vtable caller's null pointer), or the
// "parameter not found" error value a late-bound caller leaves.
bool IsOmitted(const VARIANT* arg);

// A plain copy that follows a by-reference variant to its value (what a by-value argument gets).
// A reference that is null or never ends raises "Invalid procedure call or argument".
Variant CopyOf(const VARIANT& value);

// A value assignment: like CopyOf, but an object is replaced by its default property's value.
Variant ValueOf(const VARIANT& value);

// The value as text, as the runtime converts it (True/False for Booleans); raises the runtime's
// error when the value has no text form.
std::wstring ValueAsText(const VARIANT& value);

// The value as an error description shows it. Never raises: arrays, objects and anything the
// runtime cannot convert are shown as nothing.
std::wstring DescribeValue(const VARIANT& value);

}  // namespace zolbex
