#include "library_order.h"

#include "com_util.h"

namespace zolbex::tlbgen {

std::vector<Entry> LibraryOrder(const catalogue::Library& lib) {
    std::vector<Entry> order;
    for (const catalogue::Coclass& cls : lib.coclasses) {
        const catalogue::Interface* itf = lib.FindInterface(cls.interfaceName);
        if (!itf) throw GenerationError(std::string("class ") + cls.name + " names an unknown interface");
        order.push_back({EntryKind::Interface, itf->name, itf, nullptr, nullptr});
        if (cls.alias) order.push_back({EntryKind::Alias, cls.alias->name, itf, &cls, nullptr});
        order.push_back({EntryKind::Coclass, cls.name, nullptr, &cls, nullptr});
    }
    for (const catalogue::Enumeration& e : lib.enumerations)
        order.push_back({EntryKind::Enumeration, e.name, nullptr, nullptr, &e});
    return order;
}

std::vector<const char*> RecordedNames(const catalogue::Member& m) {
    std::vector<const char*> names{m.name};
    for (const catalogue::Param& p : m.params) names.push_back(p.name);
    const bool put = m.kind == catalogue::MemberKind::PropertyLet || m.kind == catalogue::MemberKind::PropertySet;
    if (put && !m.params.empty()) names.pop_back();
    if (m.result.kind != catalogue::TypeKind::None) names.push_back("pRetVal");
    return names;
}

}  // namespace zolbex::tlbgen
