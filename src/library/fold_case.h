// Text folded for comparisons without regard to case, the same way in every locale.
#pragma once

#include <string>
#include <string_view>

namespace zolbex {

std::wstring FoldCase(std::wstring_view text);

}  // namespace zolbex
