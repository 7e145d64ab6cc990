#include "library/fold_case.h"

#include <windows.h>

namespace zolbex {

std::wstring FoldCase(std::wstring_view text) {
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    std::wstring folded(text.size(), L'\0');
    int written = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, text.data(), length,
                                folded.data(), length, nullptr, nullptr, 0);
    if (written <= 0) return std::wstring(text);  // cannot happen for valid arguments
    folded.resize(written);
    return folded;
}

}  // namespace zolbex
