// Resolution of a leading %NAME% reference in a variable's value, shared by EnvironGet and
// EnvironSet of the global object.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zolbex {

// Does the value begin with a reference ("%" as its first character)?
bool HasLeadingReference(std::wstring_view value);

// Resolves the reference at the front of `value`: the text is split at every "%"; the name
// between the first two is looked up with `lookUp`, and its value is followed by the text
// between the second and the third "%" (or the end). Anything after a third "%" is dropped:
// "%A%x%B%y" gives the value of A followed by "x". A value with a single "%" is looked up all
// the same, then raises the runtime's subscript-out-of-range error (9).
std::wstring ResolveLeadingReference(std::wstring_view value,
                                     const std::function<std::wstring(const std::wstring&)>& lookUp);

}  // namespace zolbex
