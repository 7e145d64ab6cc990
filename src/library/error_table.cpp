#include "library/error_table.h"

namespace zolbex {

// One pass from left to right, so a filled-in part that itself looks like <name> stays as it is.
std::wstring DescriptionOf(Error id, DescriptionParts parts) {
    const std::wstring pattern = RowOf(id).description;
    std::wstring text;
    size_t at = 0;
    while (at < pattern.size()) {
        const size_t open = pattern.find(L'<', at);
        const size_t close = open == std::wstring::npos ? open : pattern.find(L'>', open);
        if (close == std::wstring::npos) break;
        text.append(pattern, at, open - at);
        const std::wstring name = pattern.substr(open + 1, close - open - 1);
        const auto* part = parts.begin();
        while (part != parts.end() && name != part->first) ++part;
        text += part != parts.end() ? part->second : pattern.substr(open, close - open + 1);
        at = close + 1;
    }
    text.append(pattern, at < pattern.size() ? at : pattern.size(), std::wstring::npos);
    return text;
}

}  // namespace zolbex
