#include "runtime/leading_reference.h"

#include <vector>

#include "library/errors.h"

namespace zolbex {
namespace {

// The pieces between the "%" signs; a value without any is one piece.
std::vector<std::wstring_view> SplitAtPercent(std::wstring_view value) {
    std::vector<std::wstring_view> pieces;
    for (size_t start = 0;;) {
        const size_t percent = value.find(L'%', start);
        pieces.push_back(value.substr(start, percent == std::wstring_view::npos ? percent : percent - start));
        if (percent == std::wstring_view::npos) return pieces;
        start = percent + 1;
    }
}

}  // namespace

bool HasLeadingReference(std::wstring_view value) { return !value.empty() && value.front() == L'%'; }

std::wstring ResolveLeadingReference(std::wstring_view value,
                                     const std::function<std::wstring(const std::wstring&)>& lookUp) {
    const std::vector<std::wstring_view> pieces = SplitAtPercent(value);
    std::wstring resolved = lookUp(pieces.size() > 1 ? std::wstring(pieces[1]) : std::wstring());
    if (pieces.size() < 3) Raise(Error::Subscript);
    resolved += pieces[2];
    return resolved;
}

}  // namespace zolbex
