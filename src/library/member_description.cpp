#include "library/member_description.h"

#include "library/com_ptr.h"

namespace zolbex {
namespace {

// Value type and interface identity of a described type, with user-defined types resolved.
struct BaseType {
    VARTYPE type = VT_EMPTY;
    IID interfaceId = IID_NULL;
    bool isInterface = false;
    HRESULT failure = S_OK;  // why the type could not be resolved
};

BaseType Unresolved(HRESULT why) {
    BaseType base;
    base.failure = why;
    return base;
}

BaseType ResolveTypeDesc(ITypeInfo* owner, const TYPEDESC& desc);

BaseType ResolveUserDefined(ITypeInfo* owner, HREFTYPE ref) {
    ComPtr<ITypeInfo> info;
    HRESULT hr = owner->GetRefTypeInfo(ref, info.Put());
    if (FAILED(hr)) return Unresolved(hr);
    TYPEATTR* attr = nullptr;
    hr = info->GetTypeAttr(&attr);
    if (FAILED(hr)) return Unresolved(hr);
    BaseType base;
    switch (attr->typekind) {
        case TKIND_ENUM: base.type = VT_I4; break;
        case TKIND_ALIAS: base = ResolveTypeDesc(info.Get(), attr->tdescAlias); break;
        case TKIND_DISPATCH:
        case TKIND_INTERFACE:
        case TKIND_COCLASS:
            base.isInterface = true;
            base.interfaceId = attr->typekind == TKIND_COCLASS ? IID_IDispatch : attr->guid;
            base.type = (attr->wTypeFlags & (TYPEFLAG_FDISPATCHABLE | TYPEFLAG_FDUAL)) ||
                                attr->typekind != TKIND_INTERFACE
                            ? VT_DISPATCH
                            : VT_UNKNOWN;
            break;
        default: base = Unresolved(TYPE_E_UNSUPFORMAT); break;  // a record: not passed by the library
    }
    info->ReleaseTypeAttr(attr);
    return base;
}

BaseType ResolveTypeDesc(ITypeInfo* owner, const TYPEDESC& desc) {
    switch (desc.vt) {
        case VT_USERDEFINED: return ResolveUserDefined(owner, desc.hreftype);
        case VT_SAFEARRAY: {
            BaseType element = ResolveTypeDesc(owner, *desc.lptdesc);
            if (FAILED(element.failure)) return element;
            return {static_cast<VARTYPE>(VT_ARRAY | element.type), IID_NULL, false};
        }
        case VT_UNKNOWN: return {VT_UNKNOWN, IID_IUnknown, true};
        case VT_DISPATCH: return {VT_DISPATCH, IID_IDispatch, true};
        case VT_HRESULT: return {VT_ERROR, IID_NULL, false};
        default: return {desc.vt, IID_NULL, false};
    }
}

// A described parameter: how many pointers lead to the value, and what the value is. A type that
// cannot be resolved leaves its reason in *failure.
ParamInfo DescribeParam(ITypeInfo* owner, const ELEMDESC& element, HRESULT* failure) {
    const TYPEDESC* desc = &element.tdesc;
    int pointers = 0;
    while (desc->vt == VT_PTR) {
        ++pointers;
        desc = desc->lptdesc;
    }
    BaseType base = ResolveTypeDesc(owner, *desc);
    if (FAILED(base.failure) && SUCCEEDED(*failure)) *failure = base.failure;
    // A user-defined interface type is always written behind one pointer of its own.
    if (base.isInterface && desc->vt == VT_USERDEFINED) --pointers;

    ParamInfo param;
    param.type = base.type;
    param.interfaceId = base.interfaceId;
    param.byRef = pointers >= 1;
    const USHORT flags = element.paramdesc.wParamFlags;
    param.optional = (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
    if ((flags & PARAMFLAG_FHASDEFAULT) && element.paramdesc.pparamdescex) {
        param.hasDefault = true;
        VariantCopy(param.defaultValue.Get(), &element.paramdesc.pparamdescex->varDefaultValue);
    }
    return param;
}

}  // namespace

MemberInfo DescribeMember(ITypeInfo* owner, const FUNCDESC& func) {
    MemberInfo member;
    member.id = func.memid;
    member.kind = func.invkind;
    member.vtableOffset = func.oVft;
    member.varArgs = func.cParamsOpt == -1;
    for (SHORT p = 0; p < func.cParams; ++p) {
        const ELEMDESC& element = func.lprgelemdescParam[p];
        if (element.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
            member.hasResult = true;
            member.result = DescribeParam(owner, element, &member.unresolvedType);
        } else {
            member.params.push_back(DescribeParam(owner, element, &member.unresolvedType));
        }
    }
    return member;
}

}  // namespace zolbex
