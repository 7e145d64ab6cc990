// Late-bound calls on another component's object by member name, for objects the library only
// knows through IDispatch (the Scripting runtime's file-system object and its folders).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "library/variant.h"

namespace zolbex {

// Calls member `name` of `object` with one argument (or none when `argument` is null) and
// returns its result. An error the member reports reaches the caller unchanged: its number,
// source and description. A missing object raises the runtime's "object not set" error.
Variant CallByName(IDispatch* object, const wchar_t* name, WORD flags, const VARIANT* argument = nullptr);

}  // namespace zolbex
