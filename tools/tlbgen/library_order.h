// The order of the type descriptions in the written library: each class's interface, its
// alias (the runtime class only) and its coclass, in catalogue order; then the enumerations.
// The writer, the vtable-size fix-up and the dump all follow this one order.
#pragma once

#include "library/catalogue.h"

#include <vector>

namespace zolbex::tlbgen {

enum class EntryKind { Interface, Alias, Coclass, Enumeration };

struct Entry {
    EntryKind kind;
    const char* name;
    const catalogue::Interface* itf;            // Interface, and the aliased interface of an Alias
    const catalogue::Coclass* coclass;          // Coclass, and the class owning an Alias
    const catalogue::Enumeration* enumeration;  // Enumeration
};

std::vector<Entry> LibraryOrder(const catalogue::Library& lib);

// vtable slots of an interface: IUnknown's and IDispatch's, then one per member row.
inline int SlotCount(const catalogue::Interface& itf) {
    return catalogue::kInheritedSlots + static_cast<int>(itf.members.size());
}

// The names a type library records for a member: its own, its parameters', and "pRetVal"
// for the retval. The new value of a property put or putref has no name there.
std::vector<const char*> RecordedNames(const catalogue::Member& m);

}  // namespace zolbex::tlbgen
