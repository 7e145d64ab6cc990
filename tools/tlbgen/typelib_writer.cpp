#include "typelib_writer.h"

#include "com_util.h"
#include "library/bstr.h"
#include "library/com_ptr.h"
#include "library_order.h"

#include <oleauto.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace zolbex::tlbgen {

using namespace catalogue;

int PointerSize(SYSKIND syskind) { return syskind == SYS_WIN64 ? 8 : 4; }

namespace {

ComPtr<ITypeInfo> TypeInfoOfGuid(ITypeLib* lib, const GUID& guid, const char* what) {
    ComPtr<ITypeInfo> info;
    Check(lib->GetTypeInfoOfGuid(guid, info.Put()), std::string("finding ") + what);
    return info;
}

ComPtr<ITypeLib> LoadImport(const ImportedLibrary& imp) {
    ComPtr<ITypeLib> lib;
    if (SUCCEEDED(LoadRegTypeLib(imp.libid, imp.major, imp.minor, 0, lib.Put()))) return lib;
    Check(LoadTypeLibEx(Wide(imp.file).c_str(), REGKIND_NONE, lib.Put()), std::string("loading ") + imp.file);
    return lib;
}

// Everything one function description points into, kept alive until AddFuncDesc has copied it.
class DescriptionStore {
public:
    TYPEDESC* NewTypeDesc() { return &typeDescs_.emplace_back(); }
    PARAMDESCEX* NewDefault() { return &defaults_.emplace_back(); }

private:
    std::deque<TYPEDESC> typeDescs_;
    std::deque<PARAMDESCEX> defaults_;
};

class Writer {
public:
    Writer(const Library& lib, SYSKIND syskind, const std::wstring& path) : lib_(lib), syskind_(syskind) {
        Check(CreateTypeLib2(syskind, path.c_str(), create_.Put()), "CreateTypeLib2");
        stdole_ = LoadImport(lib.stdole);
        scripting_ = LoadImport(lib.scripting);
        dispatch_ = TypeInfoOfGuid(stdole_.Get(), IID_IDispatch, "IDispatch in stdole2");
        fileSystem_ = TypeInfoOfGuid(scripting_.Get(), lib.fileSystemIid, "IFileSystem3 in the Scripting runtime");
    }

    void Write() {
        WriteLibraryAttributes();
        const std::vector<Entry> order = LibraryOrder(lib_);
        for (const Entry& e : order) Create(e);  // all first, so that any entry can refer to any other
        for (const Entry& e : order) {
            switch (e.kind) {
                case EntryKind::Interface: WriteInterface(*e.itf); break;
                case EntryKind::Alias: WriteAlias(*e.coclass->alias, *e.itf); break;
                case EntryKind::Coclass: WriteCoclass(*e.coclass); break;
                case EntryKind::Enumeration: WriteEnumeration(*e.enumeration); break;
            }
        }
        Check(create_->SaveAllChanges(), "SaveAllChanges");
    }

private:
    void WriteLibraryAttributes() {
        Check(create_->SetName(const_cast<LPOLESTR>(Wide(lib_.name).c_str())), "SetName");
        Check(create_->SetGuid(lib_.libid), "SetGuid (library)");
        Check(create_->SetVersion(lib_.major, lib_.minor), "SetVersion");
        Check(create_->SetLcid(lib_.lcid), "SetLcid");
        Check(create_->SetDocString(const_cast<LPOLESTR>(Wide(lib_.helpString).c_str())), "SetDocString");
        Check(create_->SetLibFlags(0), "SetLibFlags");
    }

    void Create(const Entry& e) {
        // A dual interface is described as an interface with the dual flag; the loader
        // presents it as a dispatch interface whose implemented type (-1) is this interface.
        const TYPEKIND kind = e.kind == EntryKind::Interface ? TKIND_INTERFACE
                            : e.kind == EntryKind::Alias     ? TKIND_ALIAS
                            : e.kind == EntryKind::Coclass   ? TKIND_COCLASS
                                                             : TKIND_ENUM;
        ComPtr<ICreateTypeInfo> info;
        Check(create_->CreateTypeInfo(const_cast<LPOLESTR>(Wide(e.name).c_str()), kind, info.Put()),
              std::string("CreateTypeInfo ") + e.name);
        created_[e.name] = info;
    }

    ICreateTypeInfo* Created(const char* name) {
        auto it = created_.find(name);
        if (it == created_.end()) throw GenerationError(std::string("no type description named ") + name);
        return it->second.Get();
    }

    HREFTYPE Reference(ICreateTypeInfo* from, ITypeInfo* to, const std::string& what) {
        HREFTYPE ref = 0;
        Check(from->AddRefTypeInfo(to, &ref), "AddRefTypeInfo " + what);
        return ref;
    }
    HREFTYPE Reference(ICreateTypeInfo* from, const char* name) {
        ComPtr<ITypeInfo> to = ComPtr<ICreateTypeInfo>(Created(name)).As<ITypeInfo>(IID_ITypeInfo);
        if (!to) throw GenerationError(std::string("no ITypeInfo for ") + name);
        return Reference(from, to.Get(), name);
    }

    // The type of a value of `type` as it is passed by value.
    TYPEDESC ValueType(ICreateTypeInfo* owner, const Type& type, DescriptionStore& store) {
        TYPEDESC td{};
        auto pointerTo = [&](VARTYPE vt, HREFTYPE ref) {
            TYPEDESC* inner = store.NewTypeDesc();
            inner->vt = vt;
            inner->hreftype = ref;
            td.vt = VT_PTR;
            td.lptdesc = inner;
        };
        switch (type.kind) {
            case TypeKind::Bstr: td.vt = VT_BSTR; break;
            case TypeKind::Long: td.vt = VT_I4; break;
            case TypeKind::Bool: td.vt = VT_BOOL; break;
            case TypeKind::Variant: td.vt = VT_VARIANT; break;
            case TypeKind::Unknown: td.vt = VT_UNKNOWN; break;
            case TypeKind::Enum:
                td.vt = VT_USERDEFINED;
                td.hreftype = Reference(owner, type.name);
                break;
            case TypeKind::Interface: pointerTo(VT_USERDEFINED, Reference(owner, type.name)); break;
            case TypeKind::FileSystem:
                pointerTo(VT_USERDEFINED, Reference(owner, fileSystem_.Get(), "IFileSystem3"));
                break;
            case TypeKind::BstrArray:
            case TypeKind::VariantArray: {
                TYPEDESC* element = store.NewTypeDesc();
                element->vt = type.kind == TypeKind::BstrArray ? VT_BSTR : VT_VARIANT;
                td.vt = VT_SAFEARRAY;
                td.lptdesc = element;
                break;
            }
            case TypeKind::None: throw GenerationError("a parameter without a type");
        }
        return td;
    }

    TYPEDESC PointerType(const TYPEDESC& to, DescriptionStore& store) {
        TYPEDESC* inner = store.NewTypeDesc();
        *inner = to;
        TYPEDESC td{};
        td.vt = VT_PTR;
        td.lptdesc = inner;
        return td;
    }

    static void SetDefault(VARIANT* v, const DefaultValue& d) {
        switch (d.kind) {
            case DefaultKind::Text:
                V_VT(v) = VT_BSTR;
                V_BSTR(v) = NewBstr(Wide(d.text));
                break;
            case DefaultKind::Long:
                V_VT(v) = VT_I4;
                V_I4(v) = d.number;
                break;
            case DefaultKind::Bool:
                V_VT(v) = VT_BOOL;
                V_BOOL(v) = d.number ? VARIANT_TRUE : VARIANT_FALSE;
                break;
            case DefaultKind::None: break;
        }
    }

    ELEMDESC Parameter(ICreateTypeInfo* owner, const Param& p, DescriptionStore& store) {
        ELEMDESC ed{};
        ed.tdesc = ValueType(owner, p.type, store);
        if (p.byRef) ed.tdesc = PointerType(ed.tdesc, store);
        USHORT flags = PARAMFLAG_FIN;
        if (p.byRef) flags |= PARAMFLAG_FOUT;
        if (p.optional) flags |= PARAMFLAG_FOPT;
        if (p.defaultValue.kind != DefaultKind::None) {
            flags |= PARAMFLAG_FHASDEFAULT;
            PARAMDESCEX* ex = store.NewDefault();
            ex->cBytes = sizeof(PARAMDESCEX);
            VariantInit(&ex->varDefaultValue);
            SetDefault(&ex->varDefaultValue, p.defaultValue);
            ed.paramdesc.pparamdescex = ex;
        }
        ed.paramdesc.wParamFlags = flags;
        return ed;
    }

    static INVOKEKIND InvokeKind(MemberKind kind) {
        switch (kind) {
            case MemberKind::PropertyGet: return INVOKE_PROPERTYGET;
            case MemberKind::PropertyLet: return INVOKE_PROPERTYPUT;
            case MemberKind::PropertySet: return INVOKE_PROPERTYPUTREF;
            default: return INVOKE_FUNC;
        }
    }

    void WriteInterface(const Interface& itf) {
        ICreateTypeInfo* info = Created(itf.name);
        Check(info->SetGuid(itf.iid), std::string("SetGuid ") + itf.name);
        Check(info->AddImplType(0, Reference(info, dispatch_.Get(), "IDispatch")),
              std::string("AddImplType IDispatch to ") + itf.name);
        Check(info->SetTypeFlags(itf.flags), std::string("SetTypeFlags ") + itf.name);

        const int pointerSize = PointerSize(syskind_);
        UINT index = 0;
        for (size_t slot = 0; slot < itf.members.size(); ++slot) {
            const Member& m = itf.members[slot];
            if (m.kind == MemberKind::UndescribedLet) continue;  // counted in the vtable, not described
            const std::string where = std::string(itf.name) + "." + m.name;

            DescriptionStore store;
            std::vector<ELEMDESC> params;
            for (const Param& p : m.params) params.push_back(Parameter(info, p, store));
            if (m.result.kind != TypeKind::None) {
                ELEMDESC ret{};
                ret.tdesc = PointerType(ValueType(info, m.result, store), store);
                ret.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
                params.push_back(ret);
            }

            FUNCDESC fd{};
            fd.memid = m.dispid;
            fd.funckind = FUNC_PUREVIRTUAL;
            fd.invkind = InvokeKind(m.kind);
            fd.callconv = CC_STDCALL;
            fd.cParams = static_cast<SHORT>(params.size());
            fd.cParamsOpt = m.vararg ? -1 : 0;
            fd.lprgelemdescParam = params.empty() ? nullptr : params.data();
            fd.elemdescFunc.tdesc.vt = VT_HRESULT;
            fd.wFuncFlags = m.funcFlags;
            // Explicit offsets: the implicit ones follow this process's pointer size and skip
            // the undescribed let slot.
            fd.oVft = static_cast<SHORT>((kInheritedSlots + slot) * pointerSize);
            Check(info->AddFuncDesc(index, &fd), "AddFuncDesc " + where);

            std::vector<std::wstring> names;
            for (const char* name : RecordedNames(m)) names.push_back(Wide(name));
            std::vector<LPOLESTR> namePtrs;
            for (std::wstring& n : names) namePtrs.push_back(n.data());
            Check(info->SetFuncAndParamNames(index, namePtrs.data(), static_cast<UINT>(namePtrs.size())),
                  "SetFuncAndParamNames " + where);
            if (m.helpString)
                Check(info->SetFuncDocString(index, const_cast<LPOLESTR>(Wide(m.helpString).c_str())),
                      "SetFuncDocString " + where);
            for (ELEMDESC& ed : params)
                if (ed.paramdesc.pparamdescex) VariantClear(&ed.paramdesc.pparamdescex->varDefaultValue);
            ++index;
        }
        Check(info->LayOut(), std::string("LayOut ") + itf.name);
    }

    void WriteAlias(const InterfaceAlias& alias, const Interface& aliased) {
        ICreateTypeInfo* info = Created(alias.name);
        Check(info->SetGuid(alias.iid), std::string("SetGuid ") + alias.name);
        TYPEDESC td{};
        td.vt = VT_USERDEFINED;
        td.hreftype = Reference(info, aliased.name);
        Check(info->SetTypeDescAlias(&td), std::string("SetTypeDescAlias ") + alias.name);
        Check(info->SetTypeFlags(TYPEFLAG_FHIDDEN), std::string("SetTypeFlags ") + alias.name);
    }

    void WriteCoclass(const Coclass& cls) {
        ICreateTypeInfo* info = Created(cls.name);
        Check(info->SetGuid(cls.clsid), std::string("SetGuid ") + cls.name);
        Check(info->AddImplType(0, Reference(info, cls.interfaceName)), std::string("AddImplType ") + cls.name);
        Check(info->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), std::string("SetImplTypeFlags ") + cls.name);
        if (cls.alias)
            Check(info->AddImplType(1, Reference(info, cls.alias->name)), std::string("AddImplType alias ") + cls.name);
        // AddImplType adds the dispatchable flag to a coclass, so the flags are set after it.
        Check(info->SetTypeFlags(cls.flags), std::string("SetTypeFlags ") + cls.name);
    }

    void WriteEnumeration(const Enumeration& e) {
        ICreateTypeInfo* info = Created(e.name);
        Check(info->SetGuid(e.guid), std::string("SetGuid ") + e.name);
        UINT index = 0;
        for (const EnumMember& m : e.members) {
            const std::string where = std::string(e.name) + "." + m.name;
            VARIANT value;
            V_VT(&value) = VT_I4;
            V_I4(&value) = m.value;
            VARDESC vd{};
            vd.memid = static_cast<MEMBERID>(0x40000000 + index);  // distinct, so names resolve by id
            vd.lpvarValue = &value;
            vd.elemdescVar.tdesc.vt = VT_I4;
            vd.varkind = VAR_CONST;
            Check(info->AddVarDesc(index, &vd), "AddVarDesc " + where);
            const std::wstring name = Wide(m.name);
            Check(info->SetVarName(index, const_cast<LPOLESTR>(name.c_str())), "SetVarName " + where);
            Check(info->SetVarDocString(index, const_cast<LPOLESTR>(name.c_str())), "SetVarDocString " + where);
            ++index;
        }
    }

    const Library& lib_;
    SYSKIND syskind_;
    ComPtr<ICreateTypeLib2> create_;
    ComPtr<ITypeLib> stdole_, scripting_;
    ComPtr<ITypeInfo> dispatch_, fileSystem_;
    std::map<std::string, ComPtr<ICreateTypeInfo>> created_;
};

}  // namespace

void WriteTypeLibrary(const Library& lib, SYSKIND syskind, const std::wstring& path) {
    Writer(lib, syskind, path).Write();
}

}  // namespace zolbex::tlbgen
