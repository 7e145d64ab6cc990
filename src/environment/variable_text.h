// The text form of a stored environment variable, as the user and machine scopes hand it out.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace zolbex {

// A registry value read for a variable, as text: a text unchanged, Empty as the empty text, a
// number in its decimal form. A byte array (the types read as bytes: REG_BINARY, REG_NONE and
// the rest) becomes text the way the automation runtime turns a Byte array into a String: each
// two bytes, low byte first, make one UTF-16 unit, and an odd final byte makes a unit of its
// own; nothing is dropped, so a stored terminator shows as a final U+0000.
std::wstring VariableText(const VARIANT& value);

}  // namespace zolbex
