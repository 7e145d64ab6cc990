// clsZolbexENVValuePairA: one environment variable as a name and a value, both plain text fields.
#pragma once

#include <string_view>

#include "library/com_ptr.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

// A new pair holding copies of the two texts.
ComPtr<_clsZolbexENVValuePairA> NewValuePair(std::wstring_view variable, std::wstring_view value);

}  // namespace zolbex
