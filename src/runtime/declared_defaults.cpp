#include "runtime/declared_defaults.h"

#include "library/catalogue.h"
#include "library/errors.h"

namespace zolbex {
namespace {

const catalogue::DefaultValue& DeclaredDefault(const char* member, const char* param,
                                                catalogue::DefaultKind kind) {
    const catalogue::Library& library = catalogue::TheLibrary();
    const catalogue::Interface* runtime =
        library.FindInterface(library.FindCoclass("clsZolbex11RunTimeA")->interfaceName);
    const catalogue::Member* found = runtime->FindMember(member);
    const catalogue::Param* declared = found ? found->FindParam(param) : nullptr;
    // A name that the catalogue does not have, or a default of another kind, is a slip of this
    // library's own code.
    if (!declared || declared->defaultValue.kind != kind) Raise(Error::Unexpected);
    return declared->defaultValue;
}

}  // namespace

LONG DeclaredLong(const char* member, const char* param) {
    return DeclaredDefault(member, param, catalogue::DefaultKind::Long).number;
}

std::wstring DeclaredText(const char* member, const char* param) {
    const char* text = DeclaredDefault(member, param, catalogue::DefaultKind::Text).text;
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

}  // namespace zolbex
