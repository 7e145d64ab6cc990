// By-reference VARIANTs as callers hand them over: a script passes a reference to its variable,
// sometimes a reference to another reference. A sloppy or hostile caller may pass a reference
// whose pointer is null, or a chain of references that never ends (one that points to itself).
// Nothing in the library follows such a reference; these checks say where it may stop.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace zolbex {

// Longer chains of VT_BYREF | VT_VARIANT than any caller builds are taken for a cycle.
inline constexpr int kLongestReferenceChain = 8;

// The VARIANT that a chain of VT_BYREF | VT_VARIANT references ends at (`value` itself when it
// is no such reference), or null when a reference in the chain is null or the chain is longer
// than kLongestReferenceChain.
const VARIANT* EndOfReferences(const VARIANT* value);

// Whether reading `value` stays within memory the caller gave: the chain of references ends,
// and a by-reference value at its end has a pointer.
bool IsReadable(const VARIANT* value);

}  // namespace zolbex
