#include "catalogue_render.h"

#include "com_util.h"
#include "library_order.h"
#include "typelib_writer.h"

#include <cstdio>
#include <map>
#include <sstream>

namespace zolbex::tlbgen {

using namespace catalogue;

namespace {

std::string TypeText(const Library& lib, const Type& type) {
    switch (type.kind) {
        case TypeKind::Bstr: return "BSTR";
        case TypeKind::Long: return "LONG";
        case TypeKind::Bool: return "VARIANT_BOOL";
        case TypeKind::Variant: return "VARIANT";
        case TypeKind::Unknown: return "IUnknown*";
        case TypeKind::Interface: return std::string(type.name) + "*";
        case TypeKind::Enum: return type.name;
        case TypeKind::BstrArray: return "SAFEARRAY(BSTR)";
        case TypeKind::VariantArray: return "SAFEARRAY(VARIANT)";
        case TypeKind::FileSystem: return std::string(lib.scripting.name) + ".IFileSystem3*";
        case TypeKind::None: break;
    }
    return "void";
}

std::string DefaultText(const DefaultValue& d) {
    switch (d.kind) {
        case DefaultKind::Text: return std::string("BSTR:\"") + d.text + "\"";
        case DefaultKind::Long: return "I4:" + std::to_string(d.number);
        case DefaultKind::Bool: return d.number ? "BOOL:0xFFFF" : "BOOL:0x0000";
        case DefaultKind::None: break;
    }
    return "";
}

const char* InvokeName(MemberKind kind) {
    switch (kind) {
        case MemberKind::PropertyGet: return "propget";
        case MemberKind::PropertyLet: return "propput";
        case MemberKind::PropertySet: return "propputref";
        default: return "method";
    }
}

// The type library answers names and help strings by DISPID, that is with those of the
// first member that has it.
const Member& FirstWithDispid(const Interface& itf, DISPID id) {
    for (const Member& m : itf.members)
        if (m.dispid == id && m.kind != MemberKind::UndescribedLet) return m;
    throw GenerationError("no member with a DISPID that a member has");
}

std::vector<std::string> Names(const Member& m) {
    std::vector<std::string> names;
    for (const char* name : RecordedNames(m)) names.push_back(name);
    return names;
}

class Renderer {
public:
    Renderer(const Library& lib, SYSKIND syskind, const DumpOptions& options)
        : lib_(lib), syskind_(syskind), options_(options) {}

    std::string Render() {
        out_ << "library " << lib_.name << " guid=" << GuidText(lib_.libid) << " version=" << lib_.major << "."
             << lib_.minor << " lcid=" << Hex(lib_.lcid) << " syskind=" << SyskindName(syskind_) << " flags=0x0\n";
        out_ << "library help \"" << lib_.helpString << "\"\n";
        const std::vector<Entry> order = LibraryOrder(lib_);
        for (size_t i = 0; i < order.size(); ++i) {
            const Entry& e = order[i];
            switch (e.kind) {
                case EntryKind::Interface: RenderInterface(i, *e.itf); break;
                case EntryKind::Alias:
                    out_ << "type " << i << " " << e.name << " alias guid=" << GuidText(e.coclass->alias->iid)
                         << " flags=0x10 aliases=" << e.itf->name << "\n";
                    break;
                case EntryKind::Coclass: RenderCoclass(i, *e.coclass); break;
                case EntryKind::Enumeration: RenderEnumeration(i, *e.enumeration); break;
            }
        }
        const ImportedLibrary* imports[] = {&lib_.scripting, &lib_.stdole};  // sorted by name
        for (const ImportedLibrary* imp : imports)
            out_ << "import " << imp->name << " " << GuidText(imp->libid) << " " << imp->major << "." << imp->minor
                 << "\n";
        return out_.str();
    }

private:
    void RenderInterface(size_t index, const Interface& itf) {
        const std::string dispatch = std::string(lib_.stdole.name) + ".IDispatch";
        // The loader shows the dispatch half of a dual interface without the automation flag.
        out_ << "type " << index << " " << itf.name << " dispatch guid=" << GuidText(itf.iid)
             << " flags=" << Hex(itf.flags & ~TYPEFLAG_FOLEAUTOMATION) << " implements=" << dispatch << "\n";
        out_ << "type " << index << " " << itf.name << " interface guid=" << GuidText(itf.iid)
             << " flags=" << Hex(itf.flags) << " implements=" << dispatch << "\n";
        if (options_.vtableSizes) out_ << "  vtable size=" << SlotCount(itf) * PointerSize(syskind_) << "\n";
        for (size_t slot = 0; slot < itf.members.size(); ++slot) {
            const Member& m = itf.members[slot];
            if (m.kind == MemberKind::UndescribedLet) continue;
            const Member& named = FirstWithDispid(itf, m.dispid);
            const std::vector<std::string> names = Names(m);
            auto nameAt = [&](size_t n) { return &named != &m ? "-" : n < names.size() ? names[n] : "?"; };
            out_ << "  func slot=" << kInheritedSlots + slot << " " << InvokeName(m.kind) << " " << m.name
                 << " id=" << Hex(static_cast<unsigned long>(m.dispid)) << " flags=" << Hex(m.funcFlags)
                 << " optional=" << (m.vararg ? -1 : 0) << " kind=purevirtual callconv=stdcall returns=HRESULT help \""
                 << (named.helpString ? named.helpString : "") << "\"\n";
            size_t n = 1;
            for (const Param& p : m.params) {
                std::string flags = p.byRef ? "in|out" : "in";
                if (p.optional) flags += "|opt";
                if (p.defaultValue.kind != DefaultKind::None) flags += "|hasdefault";
                out_ << "    param " << nameAt(n) << " " << TypeText(lib_, p.type)
                     << (p.byRef ? "*" : "") << " " << flags;
                if (p.defaultValue.kind != DefaultKind::None) out_ << " default=" << DefaultText(p.defaultValue);
                out_ << "\n";
                ++n;
            }
            if (m.result.kind != TypeKind::None)
                out_ << "    param " << nameAt(n) << " " << TypeText(lib_, m.result)
                     << "* out|retval\n";
        }
    }

    void RenderCoclass(size_t index, const Coclass& cls) {
        out_ << "type " << index << " " << cls.name << " coclass guid=" << GuidText(cls.clsid)
             << " flags=" << Hex(cls.flags) << "\n";
        out_ << "  impl 0 " << cls.interfaceName << " flags=" << Hex(IMPLTYPEFLAG_FDEFAULT) << "\n";
        if (cls.alias) out_ << "  impl 1 " << cls.alias->name << " flags=0x0\n";
    }

    void RenderEnumeration(size_t index, const Enumeration& e) {
        out_ << "type " << index << " " << e.name << " enum guid=" << GuidText(e.guid) << " flags=0x0\n";
        for (const EnumMember& m : e.members)
            out_ << "  const " << m.name << " = I4:" << m.value << " help \"" << m.name << "\"\n";
    }

    const Library& lib_;
    SYSKIND syskind_;
    DumpOptions options_;
    std::ostringstream out_;
};

}  // namespace

std::string RenderCatalogue(const Library& lib, SYSKIND syskind, const DumpOptions& options) {
    return Renderer(lib, syskind, options).Render();
}

}  // namespace zolbex::tlbgen
