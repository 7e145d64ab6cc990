#include "runtime/scope_by_style.h"

#include "library/bstr.h"
#include "library/class_table.h"
#include "library/errors.h"

namespace zolbex {
namespace {

// Runs `use` on a new scope object of the style's class; false when the style names none.
// The three scope interfaces share their member names, not their slots, hence the template.
template <class Use>
bool WithScope(LONG style, Use&& use) {
    switch (style) {
        case zolbexEnvironmentProcess: use(Create<_clsZolbexENVProcessA>(NewProcessScope)); return true;
        case zolbexEnvironmentUser: use(Create<_clsZolbexENVUserA>(NewUserScope)); return true;
        case zolbexEnvironmentSystem: use(Create<_clsZolbexENVSystemA>(NewSystemScope)); return true;
        default: return false;
    }
}

}  // namespace

std::wstring ReadScopeVariable(LONG style, const std::wstring& name) {
    Bstr value;
    WithScope(style, [&](const auto& scope) { ThrowIfFailed(scope->get_Environment(Bstr(name).Get(), value.Put())); });
    return value.Str();
}

void WriteScopeVariable(LONG style, const std::wstring& name, const std::wstring& value) {
    WithScope(style, [&](const auto& scope) {
        ThrowIfFailed(scope->put_Environment(Bstr(name).Get(), Bstr(value).Get()));
    });
}

ComPtr<_clsZolbexENVValuePairsA> ListScope(LONG style) {
    ComPtr<_clsZolbexENVValuePairsA> list;
    WithScope(style, [&](const auto& scope) { ThrowIfFailed(scope->get_List(list.Put())); });
    return list;
}

}  // namespace zolbex
