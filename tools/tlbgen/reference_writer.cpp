#include "reference_writer.h"

#include "com_util.h"
#include "reference_notes.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

namespace zolbex::tlbgen {

using namespace catalogue;
using namespace reference;

namespace {

bool Same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// Prose may hold placeholders such as <SectionKey>, which Markdown would take for HTML.
std::string Prose(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
    return out;
}

std::string Code(const std::string& text) { return "`" + text + "`"; }

std::string Anchor(const std::string& id) { return "<a id=\"" + id + "\"></a>"; }

std::string SignedHex(long number) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(number));
    return text;
}

// The member's DISPID as the type library records it.
std::string DispidText(DISPID id) {
    if (id == DISPID_VALUE) return "0 (default member)";
    if (id == DISPID_NEWENUM) return "-4 (enumerator)";
    return Hex(static_cast<unsigned long>(id));
}

const char* KindText(MemberKind kind) {
    switch (kind) {
        case MemberKind::Method: return "method";
        case MemberKind::PropertyGet: return "property get";
        case MemberKind::PropertyLet: return "property let";
        case MemberKind::PropertySet: return "property set";
        case MemberKind::UndescribedLet: break;
    }
    return "";
}

bool IsField(const Member& m) { return (static_cast<unsigned long>(m.dispid) & 0xFFFF0000UL) == 0x40030000UL; }

// The C++ name of a vtable slot in zolbex11_interfaces.h.
std::string CppName(const Member& m) {
    switch (m.kind) {
        case MemberKind::PropertyGet: return std::string("get_") + m.name;
        case MemberKind::PropertyLet: return std::string("put_") + m.name;
        case MemberKind::PropertySet: return std::string("putref_") + m.name;
        default: return m.name;
    }
}

class Writer {
public:
    Writer(const Library& lib, const std::string& version) : lib_(lib), version_(version) {
        for (const ErrorEntry& e : LibraryErrors()) errors_[e.id] = &e;
        for (const MemberNote& n : MemberNotes()) notes_[Key(n.interfaceName, n.memberName)] = &n;
        Validate();
    }

    std::string Write() {
        Introduction();
        for (const Coclass& cls : lib_.coclasses) Class(cls);
        Enumerations();
        ErrorTable();
        return out_.str();
    }

private:
    static std::string Key(const char* itf, const char* member) { return std::string(itf) + "." + member; }

    // Every member of the catalogue has its note, every note and error reference names something.
    void Validate() {
        std::set<std::string> members;
        for (const Interface& itf : lib_.interfaces)
            for (const Member& m : itf.members) {
                if (m.kind == MemberKind::UndescribedLet) continue;
                members.insert(Key(itf.name, m.name));
                if (!notes_.count(Key(itf.name, m.name)))
                    throw GenerationError("reference: no note for " + Key(itf.name, m.name));
            }
        for (const MemberNote& n : MemberNotes()) {
            if (!members.count(Key(n.interfaceName, n.memberName)))
                throw GenerationError(std::string("reference: a note names no member: ") +
                                      Key(n.interfaceName, n.memberName));
            for (const Raised& r : n.errors)
                if (!errors_.count(r.errorId))
                    throw GenerationError(std::string("reference: unknown error ") + r.errorId);
        }
        for (const Coclass& c : lib_.coclasses)
            if (!ClassNoteOf(c.name)) throw GenerationError(std::string("reference: no note for class ") + c.name);
        for (const Enumeration& e : lib_.enumerations)
            if (!EnumerationNoteOf(e.name))
                throw GenerationError(std::string("reference: no note for enumeration ") + e.name);
    }

    static const ClassNote* ClassNoteOf(const char* name) {
        for (const ClassNote& n : ClassNotes())
            if (Same(n.className, name)) return &n;
        return nullptr;
    }

    static const EnumerationNote* EnumerationNoteOf(const char* name) {
        for (const EnumerationNote& n : EnumerationNotes())
            if (Same(n.name, name)) return &n;
        return nullptr;
    }

    const Coclass* ClassOfInterface(const char* itf) const {
        for (const Coclass& c : lib_.coclasses)
            if (Same(c.interfaceName, itf)) return &c;
        return nullptr;
    }

    std::string TypeText(const Type& type) const {
        switch (type.kind) {
            case TypeKind::Bstr: return "String (`BSTR`)";
            case TypeKind::Long: return "Long (`LONG`)";
            case TypeKind::Bool: return "Boolean (`VARIANT_BOOL`)";
            case TypeKind::Variant: return "Variant";
            case TypeKind::Unknown: return "`IUnknown`";
            case TypeKind::Interface: {
                const Coclass* cls = ClassOfInterface(type.name);
                return cls ? "[" + Code(cls->name) + "](#" + cls->name + ") object" : Code(type.name);
            }
            case TypeKind::Enum: return "[" + Code(type.name) + "](#" + type.name + ") (Long)";
            case TypeKind::BstrArray: return "array of String (`SAFEARRAY(BSTR)`)";
            case TypeKind::VariantArray: return "array of Variant (`SAFEARRAY(VARIANT)`)";
            case TypeKind::FileSystem: return std::string("`") + lib_.scripting.name + ".FileSystemObject` (`IFileSystem3`)";
            case TypeKind::None: break;
        }
        return "none";
    }

    static std::string DefaultText(const Param& p) {
        switch (p.defaultValue.kind) {
            case DefaultKind::Text: return Code(std::string("\"") + p.defaultValue.text + "\"");
            case DefaultKind::Long: return Code(std::to_string(p.defaultValue.number));
            case DefaultKind::Bool: return Code(p.defaultValue.number ? "True" : "False");
            case DefaultKind::None: break;
        }
        return p.optional ? "none (omitted: empty)" : "-";
    }

    std::string ErrorNumberText(const ErrorEntry& e) const {
        if (e.number == 0) return "the HRESULT of the failed call";
        return std::to_string(e.number);
    }

    std::string ErrorHexText(const ErrorEntry& e) const {
        if (e.number == 0) return "varies";
        if (e.number > 0 && e.number <= 0xFFFF)
            return Hex(static_cast<unsigned long>(e.number)) + " (HRESULT " + SignedHex(0x800A0000L | e.number) + ")";
        return SignedHex(e.number);
    }

    void Introduction() {
        out_ << "# " << lib_.name << " reference\n\n"
             << "Every class and member of `" << lib_.fileName << "` version " << version_ << " (type library "
             << lib_.name << " " << lib_.major << "." << lib_.minor << ", LIBID " << GuidText(lib_.libid) << ").\n\n"
             << "This file is written by the build (`zolbex11_tlbgen`, from the same catalogue as the type "
                "libraries and `zolbex11_interfaces.h`, and from the notes in "
                "`tools/tlbgen/reference_notes.cpp`); do not edit it by hand. After a change of either, run "
                "`bash scripts/build.sh` and copy `build/x86_64/generated/zolbex11_reference.md` over it "
                "(a test fails until then).\n\n"
             << "## Reading this reference\n\n"
             << "- **Kinds**: a *method* is called; a *property get* reads, a *property let* assigns a value "
                "(`obj.P = v`), a *property set* assigns an object (`Set obj.P = o`). Public fields behave as "
                "properties. The *C++* column names the slot in `zolbex11_interfaces.h`, where the result is the "
                "last (`pRetVal`) argument.\n"
             << "- **By reference** parameters may be changed by the member (only where its text says so); a "
                "script passes a variable or a value alike. *Optional* parameters may be left out; an optional "
                "parameter without a default reads as empty (0, \"\", False). Early-bound C++ callers pass every "
                "argument (a null pointer for an optional by-reference one reads as omitted).\n"
             << "- **Errors** are automation errors: a number, a source and a description. VBScript and VBA read "
                "them as `Err.Number`, `Err.Source`, `Err.Description`; small numbers (1 to 65535) travel as the "
                "HRESULT 0x800A0000 + number, so JScript's `e.number` holds that HRESULT as a negative number "
                "(`e.number & 0xFFFF` gives the small number back), and C++ receives it as the call's HRESULT with "
                "the rest in `GetErrorInfo`. Text in angle brackets in a description stands for the value named. "
                "Arguments of the wrong type are refused before the member runs, with the automation runtime's own "
                "errors (VBScript: 13, Type mismatch). Any member may fail with the errors marked *any member* in "
                "the [table of errors](#errors).\n\n"
             << "## Classes\n\n"
             << "| Class | ProgID | Can be created |\n|---|---|---|\n";
        for (const Coclass& c : lib_.coclasses)
            out_ << "| [" << Code(c.name) << "](#" << c.name << ") | " << ProgId(c) << " | " << CreatableText(c)
                 << " |\n";
        out_ << "\nAlso: [Enumerations](#enumerations), [Errors](#errors).\n";
    }

    std::string ProgId(const Coclass& c) const {
        return c.Creatable() ? Code(std::string(lib_.name) + "." + c.name) : "none";
    }

    static std::string CreatableText(const Coclass& c) {
        if ((c.flags & kGlobalApplicationObject) == kGlobalApplicationObject)
            return "yes; global application object (usable without creating it where the type library is referenced)";
        return c.Creatable() ? "yes" : "no: obtained from the library";
    }

    void Class(const Coclass& cls) {
        const Interface* itf = lib_.FindInterface(cls.interfaceName);
        const ClassNote& note = *ClassNoteOf(cls.name);
        out_ << "\n---\n\n" << Anchor(cls.name) << "\n\n## " << cls.name << "\n\n" << Prose(note.text) << "\n\n"
             << "| | |\n|---|---|\n"
             << "| ProgID | " << ProgId(cls) << " |\n"
             << "| CLSID | " << Code(GuidText(cls.clsid)) << " |\n"
             << "| Can be created | " << CreatableText(cls) << " |\n"
             << "| Interface | " << Code(itf->name) << ", IID " << Code(GuidText(itf->iid));
        if (cls.alias) out_ << "; also " << Code(cls.alias->name) << ", IID " << Code(GuidText(cls.alias->iid));
        out_ << " (dual, derived from `IDispatch`) |\n\n```vb\n" << note.example << "\n```\n";

        std::vector<const char*> names;
        for (const Member& m : itf->members) {
            if (m.kind == MemberKind::UndescribedLet) continue;
            bool seen = false;
            for (const char* n : names) seen = seen || Same(n, m.name);
            if (!seen) names.push_back(m.name);
        }
        if (names.empty()) out_ << "\nThis class has no members.\n";
        for (const char* name : names) MemberSection(cls, *itf, name);
    }

    void MemberSection(const Coclass& cls, const Interface& itf, const char* name) {
        std::vector<const Member*> accessors;
        for (const Member& m : itf.members)
            if (Same(m.name, name) && m.kind != MemberKind::UndescribedLet) accessors.push_back(&m);
        const MemberNote& note = *notes_.at(Key(itf.name, name));

        out_ << "\n" << Anchor(std::string(cls.name) + "." + name) << "\n\n### " << cls.name << "." << name << "\n\n"
             << "| Kind | DISPID | C++ | Result |\n|---|---|---|---|\n";
        for (const Member* m : accessors) {
            out_ << "| " << KindText(m->kind) << (IsField(*m) ? " (field)" : "")
                 << ((m->funcFlags & 0x40) ? ", hidden" : "") << (m->vararg ? ", variable arguments" : "") << " | "
                 << DispidText(m->dispid) << " | " << Code(CppName(*m)) << " | "
                 << (m->result.kind == TypeKind::None ? "none" : TypeText(m->result)) << " |\n";
        }
        Parameters(accessors);
        out_ << "\n" << Prose(note.text) << "\n";
        if (note.errors.empty()) {
            out_ << "\nErrors: none of its own.\n";
        } else {
            out_ << "\n| Error | Hex | Source | Description | When |\n|---|---|---|---|---|\n";
            for (const Raised& r : note.errors) {
                const ErrorEntry& e = *errors_.at(r.errorId);
                out_ << "| " << ErrorNumberText(e) << " | " << ErrorHexText(e) << " | " << Code(e.source) << " | "
                     << Code(e.description) << " | " << Prose(r.when) << " |\n";
            }
        }
        out_ << "\n```vb\n" << note.example << "\n```\n";
    }

    // One row per parameter name across the accessors; the new value of a let or set is its own row.
    void Parameters(const std::vector<const Member*>& accessors) {
        struct Row {
            std::string name;
            const Param* param;
            bool vararg;
        };
        std::vector<Row> rows;
        for (const Member* m : accessors) {
            for (size_t i = 0; i < m->params.size(); ++i) {
                const Param& p = m->params[i];
                const bool newValue = m->kind != MemberKind::Method && m->kind != MemberKind::PropertyGet &&
                                      i + 1 == m->params.size();
                std::string label = newValue ? "new value (" + std::string(KindText(m->kind)) + ")" : Code(p.name);
                bool seen = false;
                for (const Row& r : rows) seen = seen || r.name == label;
                if (!seen) rows.push_back({label, &p, m->vararg && i + 1 == m->params.size()});
            }
        }
        if (rows.empty()) return;
        out_ << "\n| Parameter | Type | Passed | Optional | Default |\n|---|---|---|---|---|\n";
        for (const Row& r : rows) {
            out_ << "| " << r.name << " | " << TypeText(r.param->type)
                 << (r.vararg ? "; receives every further argument" : "") << " | "
                 << (r.param->byRef ? "by reference" : "by value") << " | "
                 << (r.param->optional || r.vararg ? "yes" : "no") << " | " << DefaultText(*r.param) << " |\n";
        }
    }

    void Enumerations() {
        out_ << "\n---\n\n" << Anchor("enumerations") << "\n\n## Enumerations\n";
        for (const Enumeration& e : lib_.enumerations) {
            out_ << "\n" << Anchor(e.name) << "\n\n### " << e.name << "\n\n" << Prose(EnumerationNoteOf(e.name)->text)
                 << " GUID " << Code(GuidText(e.guid)) << ".\n\n| Member | Value | Hex |\n|---|---|---|\n";
            for (const EnumMember& m : e.members)
                out_ << "| " << Code(m.name) << " | " << m.value << " | " << SignedHex(m.value) << " |\n";
        }
    }

    void ErrorTable() {
        std::map<std::string, std::vector<std::string>> raisedBy;
        for (const Coclass& cls : lib_.coclasses)
            for (const MemberNote& n : MemberNotes()) {
                if (!Same(n.interfaceName, cls.interfaceName)) continue;
                for (const Raised& r : n.errors) {
                    std::vector<std::string>& by = raisedBy[r.errorId];
                    const std::string link = std::string("[") + cls.name + "." + n.memberName + "](#" + cls.name + "." +
                                             n.memberName + ")";
                    bool seen = false;
                    for (const std::string& b : by) seen = seen || b == link;
                    if (!seen) by.push_back(link);
                }
            }
        out_ << "\n---\n\n" << Anchor("errors") << "\n\n## Errors\n\n"
             << "Every error the library raises. The environment methods of `clsZolbex11RunTimeA` (`EnvironGet`, "
                "`EnvironSet`, `EnvironList`) raise none of them to their caller: they show the error in a message "
                "box (`<number> , <description>`, information icon, titled with the method's name) and return an "
                "empty result; their rows below say *shown, not raised*.\n\n"
             << "| Error | Hex | Source | Description | Raised by |\n|---|---|---|---|---|\n";
        for (const ErrorEntry& e : LibraryErrors()) {
            std::string by;
            for (const std::string& b : raisedBy[e.id]) by += (by.empty() ? "" : ", ") + b;
            out_ << "| " << ErrorNumberText(e) << " | " << ErrorHexText(e) << " | " << Code(e.source) << " | "
                 << Code(e.description) << " | " << (by.empty() ? "any member" : by) << " |\n";
        }
    }

    const Library& lib_;
    std::string version_;
    std::map<std::string, const ErrorEntry*> errors_;
    std::map<std::string, const MemberNote*> notes_;
    std::ostringstream out_;
};

}  // namespace

std::string ReferenceText(const Library& lib, const std::string& version) { return Writer(lib, version).Write(); }

void WriteReference(const Library& lib, const std::string& version, const std::wstring& path) {
    const std::string text = ReferenceText(lib, version);
    FILE* f = _wfopen(path.c_str(), L"wb");
    const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) throw GenerationError("cannot write " + Narrow(path.c_str()));
    if (!ok) throw GenerationError("cannot write " + Narrow(path.c_str()));
    std::printf("reference: %s written\n", Narrow(path.c_str()).c_str());
}

}  // namespace zolbex::tlbgen
