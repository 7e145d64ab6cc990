// Late-bound calls on another component's object by member name, for objects the library only
// knows through IDispatch (the Scripting runtime's file-system object and its folders).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "library/variant.h"

namespace zolbex {

// Calls member `name` of `object` with `count` arguments, stored last argument first as in
// DISPPARAMS, and returns its result. An error the member reports reaches the caller unchanged:
// its number, source and description. A missing object raises the runtime's "object not set"
// error, a missing member error 438.
Variant CallByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* arguments = nullptr,
                   UINT count = 0);

}  // namespace zolbex
