#include "reference_writer.h"

#include "com_util.h"
#include "library/error_table.h"
#include "reference_notes.h"

#include <algorithm>
#include <cctype>
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

std::string ErrorNumberText(const ErrorRow& e) {
    if (e.number == 0) return "the HRESULT of the failed call";
    return std::to_string(e.number);
}

std::string ErrorHexText(const ErrorRow& e) {
    if (e.number == 0) return "varies";
    if (e.number > 0 && e.number <= 0xFFFF)
        return Hex(static_cast<unsigned long>(e.number)) + " (HRESULT " + SignedHex(0x800A0000L | e.number) + ")";
    return SignedHex(e.number);
}

// Parameters as a call writes them: optional ones in brackets, a variable list as "...".
std::string ArgumentList(const Member& m, size_t count, bool brackets) {
    std::string list;
    for (size_t i = 0; i < count; ++i) {
        const Param& p = m.params[i];
        std::string name = p.name;
        if (m.vararg && i + 1 == m.params.size()) name += ", ...";
        if (brackets && (p.optional || (m.vararg && i + 1 == m.params.size()))) name = "[" + name + "]";
        list += (i ? ", " : "") + name;
    }
    return list;
}

// One line of VBScript and one of JScript for an accessor; JScript cannot assign a property
// that takes arguments, and has no separate Set.
void SyntaxLines(const Member& m, const std::string& object, std::string& vbs, std::string& js) {
    const bool objectResult = m.result.kind == TypeKind::Interface || m.result.kind == TypeKind::Unknown ||
                              m.result.kind == TypeKind::FileSystem;
    const bool assign = m.kind == MemberKind::PropertyLet || m.kind == MemberKind::PropertySet;
    const size_t named = assign ? m.params.size() - 1 : m.params.size();
    const std::string call = object + "." + m.name;
    const std::string vbsArgs = ArgumentList(m, named, true), jsArgs = ArgumentList(m, named, false);
    switch (m.kind) {
        case MemberKind::Method:
        case MemberKind::PropertyGet:
            if (m.result.kind == TypeKind::None) {
                vbs = call + (vbsArgs.empty() ? "" : " " + vbsArgs);
            } else {
                vbs = std::string(objectResult ? "Set " : "") + (objectResult ? "obj" : "result") + " = " + call +
                      (vbsArgs.empty() ? "" : "(" + vbsArgs + ")");
            }
            js = (m.result.kind == TypeKind::None ? "" : std::string(objectResult ? "obj" : "result") + " = ") + call +
                 (m.kind == MemberKind::Method || !jsArgs.empty() ? "(" + jsArgs + ")" : "") + ";";
            return;
        case MemberKind::PropertyLet:
        case MemberKind::PropertySet: {
            const bool set = m.kind == MemberKind::PropertySet;
            vbs = std::string(set ? "Set " : "") + call + (vbsArgs.empty() ? "" : "(" + vbsArgs + ")") + " = " +
                  (set ? "obj" : "newValue");
            js = named ? "" : call + " = " + (set ? "obj" : "newValue") + ";";
            return;
        }
        case MemberKind::UndescribedLet: break;
    }
}

class Writer {
public:
    Writer(const Library& lib, const std::string& version, const Notes& notes)
        : lib_(lib), version_(version), notes_(notes) {
        for (const ErrorRow& e : kErrorRows) errors_[e.key] = &e;
        for (const MemberNote& n : notes_.members) {
            if (!members_.emplace(Key(n.interfaceName, n.memberName), &n).second)
                throw GenerationError("reference: two notes for " + Key(n.interfaceName, n.memberName));
        }
        for (const TopNote& n : notes_.tops) tops_[n.name] = &n;
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
    static std::string Key(const std::string& itf, const std::string& member) { return itf + "." + member; }

    [[noreturn]] static void Refuse(const std::string& file, const std::string& what) {
        throw GenerationError("reference: " + (file.empty() ? "" : file + ": ") + what);
    }

    // Every class, enumeration and member of the catalogue has its note, every note, parameter,
    // error and link names something, and every parameter has its meaning.
    void Validate() {
        std::set<std::string> members;
        for (const Interface& itf : lib_.interfaces)
            for (const Member& m : itf.members) {
                if (m.kind == MemberKind::UndescribedLet) continue;
                members.insert(Key(itf.name, m.name));
                if (!members_.count(Key(itf.name, m.name))) Refuse("", "no note for " + Key(itf.name, m.name));
            }
        for (const MemberNote& n : notes_.members) {
            const std::string key = Key(n.interfaceName, n.memberName);
            if (!members.count(key)) Refuse(n.file, "a note names no member: " + key);
            if (n.summary.empty()) Refuse(n.file, key + " has no Summary");
            for (const Entry& r : n.errors)
                if (!errors_.count(r.name)) Refuse(n.file, "unknown error " + r.name + " in " + key);
            const std::vector<std::string> named = NamedParameters(*lib_.FindInterface(n.interfaceName.c_str()), n.memberName);
            for (const std::string& p : named)
                if (!ParameterNote(n, p)) Refuse(n.file, key + " does not say what parameter " + p + " means");
            for (const Entry& p : n.parameters)
                if (std::find(named.begin(), named.end(), p.name) == named.end())
                    Refuse(n.file, key + " describes a parameter it does not have: " + p.name);
            const Coclass* cls = ClassOfInterface(n.interfaceName.c_str());
            // One file per class: the suite finds each class's examples by its file.
            if (n.file != std::string(cls->name) + ".md") Refuse(n.file, key + " belongs in " + cls->name + ".md");
            for (const std::string& link : n.seeAlso)
                if (LinkTarget(*cls, link).empty()) Refuse(n.file, key + " links to nothing: " + link);
        }
        for (const Coclass& c : lib_.coclasses)
            if (!tops_.count(c.name)) Refuse("", std::string("no note for class ") + c.name);
        for (const Enumeration& e : lib_.enumerations)
            if (!tops_.count(e.name)) Refuse("", std::string("no note for enumeration ") + e.name);
        for (const TopNote& n : notes_.tops) {
            bool known = false;
            for (const Coclass& c : lib_.coclasses) known = known || n.name == c.name;
            for (const Enumeration& e : lib_.enumerations) known = known || n.name == e.name;
            if (!known) Refuse(n.file, "a note names no class or enumeration: " + n.name);
            if (ClassNamed(n.name) && n.file != n.name + ".md") Refuse(n.file, n.name + " belongs in " + n.name + ".md");
        }
    }

    // The parameters of a member's accessors that a caller names (not the new value of a let or set).
    static std::vector<std::string> NamedParameters(const Interface& itf, const std::string& name) {
        std::vector<std::string> names;
        for (const Member& m : itf.members) {
            if (name != m.name || m.kind == MemberKind::UndescribedLet) continue;
            const bool assign = m.kind == MemberKind::PropertyLet || m.kind == MemberKind::PropertySet;
            for (size_t i = 0; i + (assign ? 1 : 0) < m.params.size(); ++i)
                if (std::find(names.begin(), names.end(), m.params[i].name) == names.end())
                    names.push_back(m.params[i].name);
        }
        return names;
    }

    static const Entry* ParameterNote(const MemberNote& n, const std::string& name) {
        for (const Entry& p : n.parameters)
            if (p.name == name) return &p;
        return nullptr;
    }

    // A link written `Member` (of the same class), `Class` or `Class.Member`: its anchor, or "".
    std::string LinkTarget(const Coclass& cls, const std::string& link) const {
        for (const Coclass& c : lib_.coclasses) {
            if (link == c.name) return c.name;
            const std::string prefix = std::string(c.name) + ".";
            if (link.compare(0, prefix.size(), prefix) == 0 && HasMember(c, link.substr(prefix.size()))) return link;
        }
        if (HasMember(cls, link)) return std::string(cls.name) + "." + link;
        for (const Enumeration& e : lib_.enumerations)
            if (link == e.name) return e.name;
        return "";
    }

    bool HasMember(const Coclass& c, const std::string& name) const {
        for (const Member& m : lib_.FindInterface(c.interfaceName)->members)
            if (name == m.name) return true;
        return false;
    }

    const Coclass* ClassNamed(const std::string& name) const {
        for (const Coclass& c : lib_.coclasses)
            if (name == c.name) return &c;
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

    void Introduction() {
        out_ << "# " << lib_.name << " reference\n\n"
             << "Every class and member of `" << lib_.fileName << "` version " << version_ << " (type library "
             << lib_.name << " " << lib_.major << "." << lib_.minor << ", LIBID " << GuidText(lib_.libid) << ").\n\n"
             << "This file is written by the build (`zolbex11_tlbgen`, from the same catalogue as the type "
                "libraries and `zolbex11_interfaces.h`, from the library's table of errors, and from the notes in "
                "`tools/tlbgen/notes/`); do not edit it by hand. After a change of either, run "
                "`bash scripts/build.sh` and copy `build/x86_64/generated/zolbex11_reference.md` over it "
                "(a test fails until then). The test suite runs every example of this file. For tasks see "
                "[howto.md](howto.md); for error messages, [troubleshooting.md](troubleshooting.md).\n\n"
             << "## Reading this reference\n\n"
             << "- **Syntax**: `object` stands for an object of the class; parameters in brackets may be left "
                "out. *Set* assigns an object (`Set obj.P = o`), the other assignments a value. JScript cannot "
                "assign a property that takes arguments: there the VBScript line is the only one.\n"
             << "- **By reference** parameters may be changed by the member (only where its text says so); a "
                "script passes a variable or a value alike. *Optional* parameters may be left out; an optional "
                "parameter without a default reads as empty (0, \"\", False). Early-bound C++ callers pass every "
                "argument (a null pointer for an optional by-reference one reads as omitted). Each entry ends with "
                "the member's DISPID and its slot in `zolbex11_interfaces.h`, where the result is the last "
                "(`pRetVal`) argument.\n"
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

    static std::vector<const char*> MemberNames(const Interface& itf) {
        std::vector<const char*> names;
        for (const Member& m : itf.members) {
            if (m.kind == MemberKind::UndescribedLet) continue;
            bool seen = false;
            for (const char* n : names) seen = seen || Same(n, m.name);
            if (!seen) names.push_back(m.name);
        }
        return names;
    }

    static std::string AccessText(const Interface& itf, const char* name) {
        bool get = false, let = false, set = false, method = false;
        for (const Member& m : itf.members) {
            if (!Same(m.name, name)) continue;
            get = get || m.kind == MemberKind::PropertyGet;
            let = let || m.kind == MemberKind::PropertyLet;
            set = set || m.kind == MemberKind::PropertySet;
            method = method || m.kind == MemberKind::Method;
        }
        if (method) return "method";
        std::string text = "property (";
        text += get ? "read" : "";
        text += let || set ? std::string(get ? ", " : "") + "write" : "";
        return text + ")";
    }

    void Class(const Coclass& cls) {
        const Interface* itf = lib_.FindInterface(cls.interfaceName);
        const TopNote& note = *tops_.at(cls.name);
        out_ << "\n---\n\n" << Anchor(cls.name) << "\n\n## " << cls.name << "\n\n" << Prose(note.text) << "\n\n"
             << "| | |\n|---|---|\n"
             << "| ProgID | " << ProgId(cls) << " |\n"
             << "| CLSID | " << Code(GuidText(cls.clsid)) << " |\n"
             << "| Can be created | " << CreatableText(cls) << " |\n"
             << "| Interface | " << Code(itf->name) << ", IID " << Code(GuidText(itf->iid));
        if (cls.alias) out_ << "; also " << Code(cls.alias->name) << ", IID " << Code(GuidText(cls.alias->iid));
        out_ << " (dual, derived from `IDispatch`) |\n\n```vbscript\n" << note.example << "\n```\n";

        const std::vector<const char*> names = MemberNames(*itf);
        if (names.empty()) {
            out_ << "\nThis class has no members.\n";
            return;
        }
        out_ << "\n| Member | Kind | What it does |\n|---|---|---|\n";
        for (const char* name : names)
            out_ << "| [" << name << "](#" << cls.name << "." << name << ") | " << AccessText(*itf, name) << " | "
                 << Prose(members_.at(Key(itf->name, name))->summary) << " |\n";
        for (const char* name : names) MemberSection(cls, *itf, name);
    }

    void MemberSection(const Coclass& cls, const Interface& itf, const char* name) {
        std::vector<const Member*> accessors;
        for (const Member& m : itf.members)
            if (Same(m.name, name) && m.kind != MemberKind::UndescribedLet) accessors.push_back(&m);
        const MemberNote& note = *members_.at(Key(itf.name, name));

        out_ << "\n" << Anchor(std::string(cls.name) + "." + name) << "\n\n### " << cls.name << "." << name << "\n\n"
             << Prose(note.summary) << "\n\n";
        std::string vbs, js;
        for (const Member* m : accessors) {
            std::string v, j;
            SyntaxLines(*m, "object", v, j);
            vbs += v + "\n";
            if (!j.empty()) js += j + "\n";
        }
        out_ << "**Syntax**:\n\n```vb\n" << vbs << "```\n\n";
        if (!js.empty()) out_ << "```js\n" << js << "```\n";
        Parameters(accessors, note);
        const Member* result = nullptr;
        for (const Member* m : accessors)
            if (m->result.kind != TypeKind::None) result = m;
        if (result) {
            std::string form = note.result;
            if (!form.empty()) form[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(form[0])));
            out_ << "\n**Result**: " << TypeText(result->result) << (form.empty() ? "." : ". ") << Prose(form)
                 << "\n";
        }
        if (!note.text.empty()) out_ << "\n**Remarks**: " << Prose(note.text) << "\n";
        if (note.errors.empty()) {
            out_ << "\n**Errors**: none of its own.\n";
        } else {
            out_ << "\n**Errors**:\n\n| Error | Hex | Source | Description | When |\n|---|---|---|---|---|\n";
            for (const Entry& r : note.errors) {
                const ErrorRow& e = *errors_.at(r.name);
                out_ << "| " << ErrorNumberText(e) << " | " << ErrorHexText(e) << " | " << Code(Narrow(e.source))
                     << " | " << Code(Narrow(e.description)) << " | " << Prose(r.text) << " |\n";
            }
        }
        out_ << "\n**Example**:\n\n```vbscript\n" << note.example << "\n```\n";
        if (!note.seeAlso.empty()) {
            out_ << "\n**See also**:";
            for (size_t i = 0; i < note.seeAlso.size(); ++i)
                out_ << (i ? ", " : " ") << "[" << Code(note.seeAlso[i]) << "](#" << LinkTarget(cls, note.seeAlso[i])
                     << ")";
            out_ << ".\n";
        }
        out_ << "\n| Kind | DISPID | C++ |\n|---|---|---|\n";
        for (const Member* m : accessors) {
            out_ << "| " << KindText(m->kind) << (IsField(*m) ? " (field)" : "")
                 << ((m->funcFlags & 0x40) ? ", hidden" : "") << (m->vararg ? ", variable arguments" : "") << " | "
                 << DispidText(m->dispid) << " | " << Code(CppName(*m)) << " |\n";
        }
    }

    // One row per parameter name across the accessors; the new value of a let or set is its own row.
    void Parameters(const std::vector<const Member*>& accessors, const MemberNote& note) {
        struct Row {
            std::string label;
            std::string meaning;
            const Param* param;
            bool vararg;
        };
        std::vector<Row> rows;
        for (const Member* m : accessors) {
            for (size_t i = 0; i < m->params.size(); ++i) {
                const Param& p = m->params[i];
                const bool newValue = m->kind != MemberKind::Method && m->kind != MemberKind::PropertyGet &&
                                      i + 1 == m->params.size();
                const std::string label = newValue ? (m->kind == MemberKind::PropertySet ? "obj" : "newValue")
                                                   : Code(p.name);
                const Entry* meaning = newValue ? nullptr : ParameterNote(note, p.name);
                bool seen = false;
                for (const Row& r : rows) seen = seen || r.label == label;
                if (!seen)
                    rows.push_back({label, meaning ? meaning->text : "the new value", &p,
                                    m->vararg && i + 1 == m->params.size()});
            }
        }
        if (rows.empty()) return;
        out_ << "\n| Parameter | Meaning | Type | Passed | Optional | Default |\n|---|---|---|---|---|---|\n";
        for (const Row& r : rows) {
            out_ << "| " << r.label << " | " << Prose(r.meaning) << " | " << TypeText(r.param->type)
                 << (r.vararg ? "; receives every further argument" : "") << " | "
                 << (r.param->byRef ? "by reference" : "by value") << " | "
                 << (r.param->optional || r.vararg ? "yes" : "no") << " | " << DefaultText(*r.param) << " |\n";
        }
    }

    void Enumerations() {
        out_ << "\n---\n\n" << Anchor("enumerations") << "\n\n## Enumerations\n";
        for (const Enumeration& e : lib_.enumerations) {
            out_ << "\n" << Anchor(e.name) << "\n\n### " << e.name << "\n\n" << Prose(tops_.at(e.name)->text)
                 << " GUID " << Code(GuidText(e.guid)) << ".\n\n| Member | Value | Hex |\n|---|---|---|\n";
            for (const EnumMember& m : e.members)
                out_ << "| " << Code(m.name) << " | " << m.value << " | " << SignedHex(m.value) << " |\n";
        }
    }

    void ErrorTable() {
        std::map<std::string, std::vector<std::string>> raisedBy;
        for (const Coclass& cls : lib_.coclasses)
            for (const MemberNote& n : notes_.members) {
                if (n.interfaceName != cls.interfaceName) continue;
                for (const Entry& r : n.errors) {
                    std::vector<std::string>& by = raisedBy[r.name];
                    const std::string link = std::string("[") + cls.name + "." + n.memberName + "](#" + cls.name + "." +
                                             n.memberName + ")";
                    if (std::find(by.begin(), by.end(), link) == by.end()) by.push_back(link);
                }
            }
        out_ << "\n---\n\n" << Anchor("errors") << "\n\n## Errors\n\n"
             << "Every error the library raises, from the table the library raises them from "
                "(`src/library/error_table.h`). The environment methods of `clsZolbex11RunTimeA` (`EnvironGet`, "
                "`EnvironSet`, `EnvironList`) raise none of them to their caller: they show the error in a message "
                "box (`<number> , <description>`, information icon, titled with the method's name) and return an "
                "empty result; their rows below say *shown, not raised*. Rows marked *any member* are failures of "
                "the call itself (memory, a missing or unregistered type library, a null pointer from C++).\n\n"
             << "| Error | Hex | Source | Description | Raised by |\n|---|---|---|---|---|\n";
        for (const ErrorRow& e : kErrorRows) {
            std::string by;
            for (const std::string& b : raisedBy[e.key]) by += (by.empty() ? "" : ", ") + b;
            out_ << "| " << ErrorNumberText(e) << " | " << ErrorHexText(e) << " | " << Code(Narrow(e.source)) << " | "
                 << Code(Narrow(e.description)) << " | " << (by.empty() ? "any member" : by) << " |\n";
        }
    }

    const Library& lib_;
    std::string version_;
    const Notes& notes_;
    std::map<std::string, const ErrorRow*> errors_;
    std::map<std::string, const MemberNote*> members_;
    std::map<std::string, const TopNote*> tops_;
    std::ostringstream out_;
};

}  // namespace

std::string ReferenceText(const Library& lib, const std::string& version, const Notes& notes) {
    return Writer(lib, version, notes).Write();
}

void WriteReference(const Library& lib, const std::string& version, const Notes& notes, const std::wstring& path) {
    const std::string text = ReferenceText(lib, version, notes);
    FILE* f = _wfopen(path.c_str(), L"wb");
    const bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f && std::fclose(f) != 0) throw GenerationError("cannot write " + Narrow(path.c_str()));
    if (!ok) throw GenerationError("cannot write " + Narrow(path.c_str()));
    std::printf("reference: %s written\n", Narrow(path.c_str()).c_str());
}

}  // namespace zolbex::tlbgen
