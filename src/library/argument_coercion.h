// The value a parameter receives: a caller's argument coerced to the declared type, or the
// declared default (or the type's zero) for an omitted optional argument.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "library/member_description.h"

namespace zolbex {

// Coerces any value (possibly by-ref, or a chain of references) to the parameter's type into
// `out`, which must be empty.
HRESULT Coerce(const ParamInfo& param, VARIANT* source, VARIANT* out);

// What an omitted optional parameter receives, into `out`, which must be empty.
HRESULT OmittedValue(const ParamInfo& param, VARIANT* out);

// The zero value of a type (for VT_VARIANT: the "parameter not found" error value).
void ZeroValue(VARTYPE type, VARIANT* out);

}  // namespace zolbex
