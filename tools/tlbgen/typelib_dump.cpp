#include "typelib_dump.h"

#include "com_util.h"
#include "library/bstr.h"
#include "library/com_ptr.h"

#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

namespace zolbex::tlbgen {
namespace {

}  // namespace

const char* SyskindName(SYSKIND syskind) {
    switch (syskind) {
        case SYS_WIN16: return "win16";
        case SYS_WIN32: return "win32";
        case SYS_MAC: return "mac";
        case SYS_WIN64: return "win64";
        default: return "?";
    }
}

namespace {

std::string Quoted(BSTR text) { return "\"" + Narrow(text) + "\""; }

// Releases what GetTypeAttr, GetFuncDesc and GetVarDesc hand out.
struct TypeAttr {
    ITypeInfo* info;
    TYPEATTR* attr = nullptr;
    explicit TypeAttr(ITypeInfo* i) : info(i) { Check(info->GetTypeAttr(&attr), "GetTypeAttr"); }
    ~TypeAttr() { info->ReleaseTypeAttr(attr); }
    TYPEATTR* operator->() const { return attr; }
};
struct FuncDesc {
    ITypeInfo* info;
    FUNCDESC* desc = nullptr;
    FuncDesc(ITypeInfo* i, UINT index) : info(i) { Check(info->GetFuncDesc(index, &desc), "GetFuncDesc"); }
    ~FuncDesc() { info->ReleaseFuncDesc(desc); }
    FUNCDESC* operator->() const { return desc; }
};
struct VarDesc {
    ITypeInfo* info;
    VARDESC* desc = nullptr;
    VarDesc(ITypeInfo* i, UINT index) : info(i) { Check(info->GetVarDesc(index, &desc), "GetVarDesc"); }
    ~VarDesc() { info->ReleaseVarDesc(desc); }
    VARDESC* operator->() const { return desc; }
};

class Dumper {
public:
    Dumper(ITypeLib* lib, const DumpOptions& options) : lib_(lib), options_(options) {
        TLIBATTR* attr = nullptr;
        Check(lib_->GetLibAttr(&attr), "GetLibAttr");
        libid_ = attr->guid;
        lib_->ReleaseTLibAttr(attr);
    }

    std::string Dump() {
        DumpLibrary();
        const UINT count = lib_->GetTypeInfoCount();
        for (UINT i = 0; i < count; ++i) {
            ComPtr<ITypeInfo> info;
            Check(lib_->GetTypeInfo(i, info.Put()), "GetTypeInfo");
            DumpType(i, info.Get());
        }
        for (const auto& [name, line] : imports_) out_ << line << "\n";
        return out_.str();
    }

private:
    void DumpLibrary() {
        TLIBATTR* attr = nullptr;
        Check(lib_->GetLibAttr(&attr), "GetLibAttr");
        Bstr name, help;
        Check(lib_->GetDocumentation(-1, name.Put(), help.Put(), nullptr, nullptr), "GetDocumentation (library)");
        out_ << "library " << Narrow(name.Get()) << " guid=" << GuidText(attr->guid) << " version="
             << attr->wMajorVerNum << "." << attr->wMinorVerNum << " lcid=" << Hex(attr->lcid)
             << " syskind=" << SyskindName(attr->syskind) << " flags=" << Hex(attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE)
             << "\n";
        out_ << "library help " << Quoted(help.Get()) << "\n";
        lib_->ReleaseTLibAttr(attr);
    }

    static const char* KindName(TYPEKIND kind) {
        switch (kind) {
            case TKIND_ENUM: return "enum";
            case TKIND_RECORD: return "record";
            case TKIND_MODULE: return "module";
            case TKIND_INTERFACE: return "interface";
            case TKIND_DISPATCH: return "dispatch";
            case TKIND_COCLASS: return "coclass";
            case TKIND_ALIAS: return "alias";
            case TKIND_UNION: return "union";
            default: return "?";
        }
    }

    static std::string NameOf(ITypeInfo* info) {
        Bstr name;
        Check(info->GetDocumentation(MEMBERID_NIL, name.Put(), nullptr, nullptr, nullptr), "GetDocumentation");
        return Narrow(name.Get());
    }

    // A referenced type's name, qualified by its library when it is not this one.
    std::string RefName(ITypeInfo* from, HREFTYPE ref) {
        ComPtr<ITypeInfo> to;
        Check(from->GetRefTypeInfo(ref, to.Put()), "GetRefTypeInfo");
        ComPtr<ITypeLib> container;
        UINT index = 0;
        Check(to->GetContainingTypeLib(container.Put(), &index), "GetContainingTypeLib");
        TLIBATTR* attr = nullptr;
        Check(container->GetLibAttr(&attr), "GetLibAttr (import)");
        const GUID libid = attr->guid;
        const std::string version = std::to_string(attr->wMajorVerNum) + "." + std::to_string(attr->wMinorVerNum);
        container->ReleaseTLibAttr(attr);
        if (libid == libid_) return NameOf(to.Get());
        Bstr libName;
        Check(container->GetDocumentation(-1, libName.Put(), nullptr, nullptr, nullptr), "GetDocumentation (import)");
        const std::string qualifier = Narrow(libName.Get());
        imports_[qualifier] = "import " + qualifier + " " + GuidText(libid) + " " + version;
        return qualifier + "." + NameOf(to.Get());
    }

    std::string TypeText(ITypeInfo* owner, const TYPEDESC& td) {
        switch (td.vt) {
            case VT_PTR: return TypeText(owner, *td.lptdesc) + "*";
            case VT_SAFEARRAY: return "SAFEARRAY(" + TypeText(owner, *td.lptdesc) + ")";
            case VT_USERDEFINED: return RefName(owner, td.hreftype);
            case VT_BSTR: return "BSTR";
            case VT_I4: return "LONG";
            case VT_BOOL: return "VARIANT_BOOL";
            case VT_VARIANT: return "VARIANT";
            case VT_UNKNOWN: return "IUnknown*";
            case VT_DISPATCH: return "IDispatch*";
            case VT_HRESULT: return "HRESULT";
            case VT_VOID: return "void";
            default: return "VT_" + std::to_string(td.vt);
        }
    }

    static std::string ParamFlags(USHORT f) {
        static const struct { USHORT bit; const char* name; } names[] = {
            {PARAMFLAG_FIN, "in"},    {PARAMFLAG_FOUT, "out"},          {PARAMFLAG_FLCID, "lcid"},
            {PARAMFLAG_FRETVAL, "retval"}, {PARAMFLAG_FOPT, "opt"}, {PARAMFLAG_FHASDEFAULT, "hasdefault"},
        };
        std::string text;
        for (const auto& n : names)
            if (f & n.bit) text += (text.empty() ? "" : "|") + std::string(n.name);
        const USHORT rest = f & ~(PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FLCID | PARAMFLAG_FRETVAL |
                                  PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT);
        if (rest) text += (text.empty() ? "" : "|") + Hex(rest);
        return text.empty() ? "none" : text;
    }

    static std::string DefaultText(const VARIANT& v) {
        switch (V_VT(&v)) {
            case VT_BSTR: return "BSTR:" + Quoted(V_BSTR(&v));
            case VT_I4: return "I4:" + std::to_string(V_I4(&v));
            case VT_I2: return "I2:" + std::to_string(V_I2(&v));
            case VT_BOOL: {
                char text[16];
                std::snprintf(text, sizeof text, "BOOL:0x%04X", static_cast<unsigned short>(V_BOOL(&v)));
                return text;
            }
            default: return "VT_" + std::to_string(V_VT(&v));
        }
    }

    static const char* InvokeName(INVOKEKIND k) {
        switch (k) {
            case INVOKE_FUNC: return "method";
            case INVOKE_PROPERTYGET: return "propget";
            case INVOKE_PROPERTYPUT: return "propput";
            case INVOKE_PROPERTYPUTREF: return "propputref";
            default: return "?";
        }
    }

    void DumpFunctions(ITypeInfo* info, const TYPEATTR* attr) {
        std::vector<MEMBERID> seen;
        for (UINT i = 0; i < attr->cFuncs; ++i) {
            FuncDesc f(info, i);
            // Names are answered by DISPID: they belong to the first accessor of a property only.
            const bool namesAreOwn = std::find(seen.begin(), seen.end(), f->memid) == seen.end();
            seen.push_back(f->memid);
            std::vector<BSTR> names(f->cParams + 1, nullptr);
            UINT got = 0;
            Check(info->GetNames(f->memid, names.data(), static_cast<UINT>(names.size()), &got), "GetNames");
            Bstr help;
            Check(info->GetDocumentation(f->memid, nullptr, help.Put(), nullptr, nullptr), "GetDocumentation");
            out_ << "  func slot=" << f->oVft / static_cast<int>(sizeof(void*)) << " " << InvokeName(f->invkind)
                 << " " << Narrow(names[0]) << " id=" << Hex(static_cast<unsigned long>(f->memid))
                 << " flags=" << Hex(f->wFuncFlags) << " optional=" << f->cParamsOpt
                 << " kind=" << (f->funckind == FUNC_PUREVIRTUAL ? "purevirtual" : "other")
                 << " callconv=" << (f->callconv == CC_STDCALL ? "stdcall" : "other")
                 << " returns=" << TypeText(info, f->elemdescFunc.tdesc) << " help " << Quoted(help.Get()) << "\n";
            for (SHORT p = 0; p < f->cParams; ++p) {
                const ELEMDESC& ed = f->lprgelemdescParam[p];
                const UINT nameIndex = static_cast<UINT>(p) + 1;
                const std::string paramName = !namesAreOwn ? "-" : nameIndex < got ? Narrow(names[nameIndex]) : "?";
                out_ << "    param " << paramName << " "
                     << TypeText(info, ed.tdesc) << " " << ParamFlags(ed.paramdesc.wParamFlags);
                if ((ed.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) && ed.paramdesc.pparamdescex)
                    out_ << " default=" << DefaultText(ed.paramdesc.pparamdescex->varDefaultValue);
                out_ << "\n";
            }
            for (BSTR n : names) SysFreeString(n);
        }
    }

    void DumpImplTypes(ITypeInfo* info, const TYPEATTR* attr) {
        for (UINT i = 0; i < attr->cImplTypes; ++i) {
            HREFTYPE ref = 0;
            INT flags = 0;
            Check(info->GetRefTypeOfImplType(i, &ref), "GetRefTypeOfImplType");
            Check(info->GetImplTypeFlags(i, &flags), "GetImplTypeFlags");
            out_ << "  impl " << i << " " << RefName(info, ref) << " flags=" << Hex(static_cast<unsigned long>(flags))
                 << "\n";
        }
    }

    std::string Implements(ITypeInfo* info, const TYPEATTR* attr) {
        std::string text;
        for (UINT i = 0; i < attr->cImplTypes; ++i) {
            HREFTYPE ref = 0;
            Check(info->GetRefTypeOfImplType(i, &ref), "GetRefTypeOfImplType");
            text += (i ? "," : "") + RefName(info, ref);
        }
        return text;
    }

    void DumpType(UINT index, ITypeInfo* info) {
        TypeAttr attr(info);
        const std::string name = NameOf(info);
        out_ << "type " << index << " " << name << " " << KindName(attr->typekind) << " guid=" << GuidText(attr->guid)
             << " flags=" << Hex(attr->wTypeFlags);
        switch (attr->typekind) {
            case TKIND_DISPATCH: {
                out_ << " implements=" << Implements(info, attr.attr) << "\n";
                HREFTYPE dualRef = 0;
                if (FAILED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &dualRef))) break;
                ComPtr<ITypeInfo> dual;
                Check(info->GetRefTypeInfo(dualRef, dual.Put()), "GetRefTypeInfo (dual half)");
                TypeAttr dualAttr(dual.Get());
                out_ << "type " << index << " " << NameOf(dual.Get()) << " " << KindName(dualAttr->typekind)
                     << " guid=" << GuidText(dualAttr->guid) << " flags=" << Hex(dualAttr->wTypeFlags)
                     << " implements=" << Implements(dual.Get(), dualAttr.attr) << "\n";
                if (options_.vtableSizes) out_ << "  vtable size=" << dualAttr->cbSizeVft << "\n";
                DumpFunctions(dual.Get(), dualAttr.attr);
                break;
            }
            case TKIND_INTERFACE:
                out_ << " implements=" << Implements(info, attr.attr) << "\n";
                if (options_.vtableSizes) out_ << "  vtable size=" << attr->cbSizeVft << "\n";
                DumpFunctions(info, attr.attr);
                break;
            case TKIND_COCLASS:
                out_ << "\n";
                DumpImplTypes(info, attr.attr);
                break;
            case TKIND_ALIAS: out_ << " aliases=" << TypeText(info, attr->tdescAlias) << "\n"; break;
            case TKIND_ENUM:
                out_ << "\n";
                for (UINT i = 0; i < attr->cVars; ++i) {
                    VarDesc v(info, i);
                    Bstr varName, help;
                    Check(info->GetDocumentation(v->memid, varName.Put(), help.Put(), nullptr, nullptr),
                          "GetDocumentation (constant)");
                    out_ << "  const " << Narrow(varName.Get()) << " = "
                         << (v->varkind == VAR_CONST && v->lpvarValue ? DefaultText(*v->lpvarValue) : "?")
                         << " help " << Quoted(help.Get()) << "\n";
                }
                break;
            default: out_ << "\n"; break;
        }
    }

    ITypeLib* lib_;
    DumpOptions options_;
    GUID libid_{};
    std::ostringstream out_;
    std::map<std::string, std::string> imports_;
};

}  // namespace

std::string DumpTypeLibrary(ITypeLib* lib, const DumpOptions& options) { return Dumper(lib, options).Dump(); }

std::vector<std::string> LineDifferences(const std::string& read, const std::string& expected, size_t limit) {
    auto lines = [](const std::string& text) {
        std::vector<std::string> result;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) result.push_back(line);
        return result;
    };
    const std::vector<std::string> r = lines(read), e = lines(expected);
    std::vector<std::string> differences;
    for (size_t i = 0; i < std::max(r.size(), e.size()) && differences.size() < limit; ++i) {
        const std::string& lr = i < r.size() ? r[i] : "(end)";
        const std::string& le = i < e.size() ? e[i] : "(end)";
        if (lr != le)
            differences.push_back("line " + std::to_string(i + 1) + ":\n  read:     " + lr + "\n  expected: " + le);
    }
    return differences;
}

}  // namespace zolbex::tlbgen
