#include "library/dispatcher.h"

#include <cstring>
#include <map>
#include <mutex>

#include "library/bstr.h"
#include "library/errors.h"
#include "library/fold_case.h"
#include "library/typelib.h"
#include "library/variant.h"

namespace zolbex {
namespace {

// Value type and interface identity of a described type, with user-defined types resolved.
struct BaseType {
    VARTYPE type = VT_EMPTY;
    IID interfaceId = IID_NULL;
    bool isInterface = false;
};

BaseType ResolveTypeDesc(ITypeInfo* owner, const TYPEDESC& desc);

BaseType ResolveUserDefined(ITypeInfo* owner, HREFTYPE ref) {
    ComPtr<ITypeInfo> info;
    if (FAILED(owner->GetRefTypeInfo(ref, info.Put()))) return {};
    TYPEATTR* attr = nullptr;
    if (FAILED(info->GetTypeAttr(&attr))) return {};
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
        default: break;
    }
    info->ReleaseTypeAttr(attr);
    return base;
}

BaseType ResolveTypeDesc(ITypeInfo* owner, const TYPEDESC& desc) {
    switch (desc.vt) {
        case VT_USERDEFINED: return ResolveUserDefined(owner, desc.hreftype);
        case VT_SAFEARRAY: {
            BaseType element = ResolveTypeDesc(owner, *desc.lptdesc);
            return {static_cast<VARTYPE>(VT_ARRAY | element.type), IID_NULL, false};
        }
        case VT_UNKNOWN: return {VT_UNKNOWN, IID_IUnknown, true};
        case VT_DISPATCH: return {VT_DISPATCH, IID_IDispatch, true};
        case VT_HRESULT: return {VT_ERROR, IID_NULL, false};
        default: return {desc.vt, IID_NULL, false};
    }
}

// A described parameter: how many pointers lead to the value, and what the value is.
ParamInfo DescribeParam(ITypeInfo* owner, const ELEMDESC& element) {
    const TYPEDESC* desc = &element.tdesc;
    int pointers = 0;
    while (desc->vt == VT_PTR) {
        ++pointers;
        desc = desc->lptdesc;
    }
    BaseType base = ResolveTypeDesc(owner, *desc);
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
        VariantInit(&param.defaultValue);
        VariantCopy(&param.defaultValue, &element.paramdesc.pparamdescex->varDefaultValue);
    }
    return param;
}

bool IsOmitted(const VARIANT* arg) {
    return !arg || (V_VT(arg) == VT_ERROR && V_ERROR(arg) == DISP_E_PARAMNOTFOUND);
}

bool IsObject(const VARIANT* arg) {
    VARTYPE type = V_VT(arg) & ~VT_BYREF;
    if (type == VT_VARIANT && (V_VT(arg) & VT_BYREF)) return IsObject(V_VARIANTREF(arg));
    return type == VT_DISPATCH || type == VT_UNKNOWN;
}

// Byte size of the data a by-ref VARIANT points at, for writing a value back in place.
size_t DataSize(VARTYPE type) {
    if (type & VT_ARRAY) return sizeof(SAFEARRAY*);
    switch (type) {
        case VT_I1: case VT_UI1: return 1;
        case VT_I2: case VT_UI2: case VT_BOOL: return 2;
        case VT_I4: case VT_UI4: case VT_INT: case VT_UINT: case VT_R4: case VT_ERROR: return 4;
        case VT_I8: case VT_UI8: case VT_R8: case VT_CY: case VT_DATE: return 8;
        case VT_BSTR: case VT_UNKNOWN: case VT_DISPATCH: return sizeof(void*);
        default: return 0;
    }
}

void* DataOf(VARIANT* v) { return &V_I8(v); }

// Coerces `source` (possibly by-ref) to an interface pointer of the parameter's interface.
HRESULT CoerceToInterface(const ParamInfo& param, VARIANT* source, VARIANT* out) {
    Variant value;
    HRESULT hr = VariantCopyInd(value.Get(), source);
    if (FAILED(hr)) return hr;
    IUnknown* unknown = nullptr;
    switch (value.Type()) {
        case VT_EMPTY: break;  // Nothing
        case VT_UNKNOWN: case VT_DISPATCH: unknown = V_UNKNOWN(value.Get()); break;
        default: return DISP_E_TYPEMISMATCH;
    }
    V_VT(out) = param.type;
    V_UNKNOWN(out) = nullptr;
    if (!unknown) return S_OK;
    hr = unknown->QueryInterface(param.interfaceId, reinterpret_cast<void**>(&V_UNKNOWN(out)));
    return FAILED(hr) ? DISP_E_TYPEMISMATCH : S_OK;
}

// Coerces any value to the parameter's type into `out` (which must be empty).
HRESULT Coerce(const ParamInfo& param, VARIANT* source, VARIANT* out) {
    if (param.type == VT_VARIANT) return VariantCopyInd(out, source);
    if (param.type == VT_DISPATCH || param.type == VT_UNKNOWN)
        return CoerceToInterface(param, source, out);
    if (param.type & VT_ARRAY) {
        Variant value;
        HRESULT hr = VariantCopyInd(value.Get(), source);
        if (FAILED(hr)) return hr;
        if (value.Type() == param.type) {
            value.Detach(out);
            return S_OK;
        }
        // An array passed in to be filled: anything else (Empty, a script array) starts empty.
        if (param.byRef) {
            V_VT(out) = param.type;
            V_ARRAY(out) = nullptr;
            return S_OK;
        }
        return DISP_E_TYPEMISMATCH;
    }
    return VariantChangeType(out, source, 0, param.type);
}

// The zero value of a type, for an optional parameter that has no default.
void ZeroValue(VARTYPE type, VARIANT* out) {
    VariantInit(out);
    if (type == VT_VARIANT) {
        V_VT(out) = VT_ERROR;
        V_ERROR(out) = DISP_E_PARAMNOTFOUND;
        return;
    }
    V_VT(out) = type;
    V_I8(out) = 0;
}

// A one-dimensional typed array turned into an array of VARIANT with the same bounds, so that
// script clients, which only index arrays of VARIANT, can use it.
HRESULT ToVariantArray(SAFEARRAY* typed, VARIANT* out) {
    V_VT(out) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(out) = nullptr;
    if (!typed) return S_OK;
    VARTYPE elementType = VT_EMPTY;
    HRESULT hr = SafeArrayGetVartype(typed, &elementType);
    if (FAILED(hr)) return hr;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(typed, 1, &lower);
    SafeArrayGetUBound(typed, 1, &upper);
    SAFEARRAYBOUND bound{static_cast<ULONG>(upper - lower + 1), lower};
    SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 1, &bound);
    if (!array) return E_OUTOFMEMORY;
    for (LONG i = lower; i <= upper && SUCCEEDED(hr); ++i) {
        Variant element;
        V_VT(element.Get()) = elementType;
        hr = SafeArrayGetElement(typed, &i, DataOf(element.Get()));
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(array, &i, element.Get());
    }
    if (FAILED(hr)) {
        SafeArrayDestroy(array);
        return hr;
    }
    V_ARRAY(out) = array;
    return S_OK;
}

// `value` as a caller's variable of type `type` holds it. A typed array becomes an array of
// VARIANT where the variable holds VARIANTs (a script variable, a Variant array).
HRESULT ConvertForCaller(VARIANT* value, VARTYPE type, VARIANT* out) {
    // Only the one-dimensional arrays the library hands out are turned into VARIANT arrays; any
    // other array goes back as it is.
    const bool typedArray = (V_VT(value) & VT_ARRAY) && V_VT(value) != (VT_ARRAY | VT_VARIANT) &&
                            (!V_ARRAY(value) || SafeArrayGetDim(V_ARRAY(value)) == 1);
    if (typedArray && (type == VT_VARIANT || type == (VT_ARRAY | VT_VARIANT)))
        return ToVariantArray(V_ARRAY(value), out);
    if (type == VT_VARIANT) return VariantCopy(out, value);
    return VariantChangeType(out, value, 0, type);
}

// Writes a by-ref temporary back to the caller's by-ref argument after the call.
void WriteBack(VARIANT* value, VARIANT* target) {
    if (!(V_VT(target) & VT_BYREF)) return;
    const VARTYPE targetType = V_VT(target) & ~VT_BYREF;
    Variant converted;
    if (targetType == VT_VARIANT) {
        if (FAILED(ConvertForCaller(value, VT_VARIANT, converted.Get()))) return;
        VARIANT* slot = V_VARIANTREF(target);
        VariantClear(slot);
        converted.Detach(slot);
        return;
    }
    size_t size = DataSize(targetType);
    if (!size || FAILED(ConvertForCaller(value, targetType, converted.Get()))) return;
    VARIANT old;
    VariantInit(&old);
    V_VT(&old) = targetType;
    std::memcpy(DataOf(&old), V_BYREF(target), size);
    VariantClear(&old);
    std::memcpy(V_BYREF(target), DataOf(converted.Get()), size);
    V_VT(converted.Get()) = VT_EMPTY;  // ownership moved to the caller's variable
}

void FillException(HRESULT hr, EXCEPINFO* exception) {
    std::memset(exception, 0, sizeof(*exception));
    exception->scode = hr;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        info->GetSource(&exception->bstrSource);
        info->GetDescription(&exception->bstrDescription);
        info->GetHelpFile(&exception->bstrHelpFile);
        info->GetHelpContext(&exception->dwHelpContext);
    }
    if (!exception->bstrDescription) {
        long number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : hr;
        exception->bstrDescription = SysAllocString(RuntimeErrorText(number).c_str());
    }
}

// One prepared argument of a vtable call.
struct CallSlot {
    Variant temp;              // coerced value, default, or array
    VARIANT* writeBack = nullptr;  // the caller's by-ref argument to update after the call
    Variant passedIn;          // the coerced value as passed, to see whether the callee changed it
    VARTYPE callType = VT_EMPTY;
    VARIANTARG callArg{};
};

// Whether the callee left a coerced by-ref argument as it was passed in. A caller's variable
// keeps its own type unless the member really assigned to it; an array parameter is always
// handed back, since a callee may refill it in place.
bool UnchangedByCallee(const CallSlot& slot) {
    const VARIANT* now = slot.temp.Get();
    const VARIANT* before = slot.passedIn.Get();
    if (V_VT(now) != V_VT(before) || (V_VT(now) & VT_ARRAY)) return false;
    if (V_VT(now) == VT_BSTR) return Bstr::ViewOf(V_BSTR(now)) == Bstr::ViewOf(V_BSTR(before));
    return DataSize(V_VT(now)) != 0 &&
           std::memcmp(&V_I8(now), &V_I8(before), DataSize(V_VT(now))) == 0;
}

void PassByRef(CallSlot& slot, VARTYPE type, void* pointer) {
    slot.callType = VT_BYREF | type;
    V_VT(&slot.callArg) = slot.callType;
    V_BYREF(&slot.callArg) = pointer;
}

void PassTempByRef(CallSlot& slot, VARTYPE type) {
    PassByRef(slot, type, type == VT_VARIANT ? static_cast<void*>(slot.temp.Get()) : DataOf(slot.temp.Get()));
}

void PassTempByValue(CallSlot& slot, VARTYPE type) {
    slot.callType = type;
    slot.callArg = *slot.temp.Get();  // a shallow view: temp keeps ownership
}

}  // namespace

DispatchTable::DispatchTable(REFIID iid) {
    ComPtr<ITypeLib> library = OwnTypeLib();
    ComPtr<ITypeInfo> info;
    HRESULT hr = library->GetTypeInfoOfGuid(iid, info.Put());
    if (FAILED(hr)) throw AutomationError(hr, kLibrarySource, L"Unknown interface");

    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    const TYPEKIND kind = attr->typekind;
    info->ReleaseTypeAttr(attr);

    // A dual interface has two halves: the dispatch description and the vtable description.
    ComPtr<ITypeInfo> other;
    HREFTYPE ref = 0;
    if (SUCCEEDED(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)))
        info->GetRefTypeInfo(ref, other.Put());
    if (kind == TKIND_DISPATCH) {
        dispatchInfo_ = info;
        vtableInfo_ = other ? other : info;
    } else {
        vtableInfo_ = info;
        dispatchInfo_ = other ? other : info;
    }

    vtableInfo_->GetTypeAttr(&attr);
    const UINT functions = attr->cFuncs;
    vtableInfo_->ReleaseTypeAttr(attr);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* func = nullptr;
        if (FAILED(vtableInfo_->GetFuncDesc(i, &func))) continue;
        auto member = std::make_unique<MemberInfo>();
        member->id = func->memid;
        member->kind = func->invkind;
        member->vtableOffset = func->oVft;
        member->varArgs = func->cParamsOpt == -1;
        for (SHORT p = 0; p < func->cParams; ++p) {
            const ELEMDESC& element = func->lprgelemdescParam[p];
            if (element.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) {
                member->hasResult = true;
                member->result = DescribeParam(vtableInfo_.Get(), element);
            } else {
                member->params.push_back(DescribeParam(vtableInfo_.Get(), element));
            }
        }
        vtableInfo_->ReleaseFuncDesc(func);
        Bstr name;
        if (SUCCEEDED(vtableInfo_->GetDocumentation(member->id, name.Put(), nullptr, nullptr, nullptr)))
            idByFoldedName_.emplace(FoldCase(name.View()), member->id);
        byId_[member->id].push_back(member.get());
        members_.push_back(std::move(member));
    }
}

DispatchTable::~DispatchTable() {
    for (auto& member : members_)
        for (auto& param : member->params)
            if (param.hasDefault) VariantClear(&param.defaultValue);
}

const DispatchTable& DispatchTable::For(REFIID iid) {
    static std::mutex lock;
    static std::map<GUID, std::unique_ptr<DispatchTable>, bool (*)(const GUID&, const GUID&)> tables(
        [](const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) < 0; });
    std::lock_guard<std::mutex> guard(lock);
    auto& table = tables[iid];
    if (!table) table = std::make_unique<DispatchTable>(iid);
    return *table;
}

HRESULT DispatchTable::GetIDsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    // A member name alone is answered from our own table; names of parameters need the
    // type information.
    if (count == 1 && names && names[0] && ids) {
        auto found = idByFoldedName_.find(FoldCase(names[0]));
        if (found != idByFoldedName_.end()) {
            ids[0] = found->second;
            return S_OK;
        }
    }
    return dispatchInfo_->GetIDsOfNames(names, count, ids);
}

const MemberInfo* DispatchTable::Select(DISPID id, WORD flags, const DISPPARAMS* params) const {
    auto found = byId_.find(id);
    if (found == byId_.end()) return nullptr;
    auto find = [&](INVOKEKIND kind) -> const MemberInfo* {
        for (const MemberInfo* member : found->second)
            if (member->kind == kind) return member;
        return nullptr;
    };
    const MemberInfo* member = nullptr;
    if (flags & DISPATCH_PROPERTYPUTREF) member = find(INVOKE_PROPERTYPUTREF);
    if (!member && (flags & DISPATCH_PROPERTYPUT)) {
        member = find(INVOKE_PROPERTYPUT);
        // A let of an object to a property that only has a set: treat it as the set.
        if (!member && params->cArgs > 0 && IsObject(&params->rgvarg[0]))
            member = find(INVOKE_PROPERTYPUTREF);
    }
    if (!member && (flags & DISPATCH_METHOD)) member = find(INVOKE_FUNC);
    if (!member && (flags & DISPATCH_PROPERTYGET)) member = find(INVOKE_PROPERTYGET);
    return member;
}

// `list.Item(1)` written as `owner.List(1)`: a member without parameters that returns an object,
// called with arguments, hands them to the default member of its result.
bool DispatchTable::TakesArgumentsOfItsResult(const MemberInfo& member, WORD flags,
                                              const DISPPARAMS& params) {
    return params.cArgs > 0 && params.cNamedArgs == 0 && member.params.empty() &&
           member.hasResult && member.result.type == VT_DISPATCH &&
           (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET));
}

HRESULT DispatchTable::InvokeOnResult(IDispatch* object, const MemberInfo& member, WORD flags,
                                      DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                      UINT* argError) const {
    DISPPARAMS none{};
    Variant owner;
    HRESULT hr = Invoke(object, member.id, flags, &none, owner.Put(), exception, argError);
    if (FAILED(hr)) return hr;
    if (owner.Type() != VT_DISPATCH || !V_DISPATCH(owner.Get())) return DISP_E_BADPARAMCOUNT;
    // The default member may be a method (a collection's Item) or a property.
    return V_DISPATCH(owner.Get())->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT,
                                           DISPATCH_METHOD | DISPATCH_PROPERTYGET, params, result,
                                           exception, argError);
}

HRESULT DispatchTable::Invoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* exception, UINT* argError) const {
    static DISPPARAMS noParams{};
    if (!params) params = &noParams;
    const MemberInfo* member = Select(id, flags, params);
    if (!member) return DISP_E_MEMBERNOTFOUND;
    if (TakesArgumentsOfItsResult(*member, flags, *params))
        return InvokeOnResult(object, *member, flags, params, result, exception, argError);
    const bool isPut = member->kind == INVOKE_PROPERTYPUT || member->kind == INVOKE_PROPERTYPUTREF;
    auto failArg = [&](HRESULT hr, UINT index) {
        if (argError) *argError = index;
        return hr;
    };

    // Place each argument of the caller at its parameter.
    const size_t count = member->params.size();
    const size_t fixed = member->varArgs ? count - 1 : count;
    std::vector<VARIANT*> given(count, nullptr);
    std::vector<VARIANT*> extra;
    const UINT named = params->cNamedArgs;
    if (named > params->cArgs) return E_INVALIDARG;
    for (UINT k = 0; k < named; ++k) {
        DISPID name = params->rgdispidNamedArgs[k];
        if (name < 0 && !(name == DISPID_PROPERTYPUT && isPut && fixed > 0))
            return failArg(DISP_E_PARAMNOTFOUND, k);
        size_t index = name == DISPID_PROPERTYPUT ? fixed - 1 : static_cast<size_t>(name);
        if (index >= fixed || given[index]) return failArg(DISP_E_PARAMNOTFOUND, k);
        given[index] = &params->rgvarg[k];
    }
    const UINT positional = params->cArgs - named;
    for (UINT j = 0; j < positional; ++j) {
        UINT argIndex = params->cArgs - 1 - j;
        VARIANT* arg = &params->rgvarg[argIndex];
        if (j < fixed) {
            if (given[j]) return failArg(DISP_E_BADPARAMCOUNT, argIndex);
            given[j] = arg;
        } else if (member->varArgs) {
            extra.push_back(arg);
        } else {
            return DISP_E_BADPARAMCOUNT;
        }
    }

    // Prepare the vtable arguments.
    std::vector<CallSlot> slots(count + (member->hasResult ? 1 : 0));
    for (size_t i = 0; i < fixed; ++i) {
        const ParamInfo& param = member->params[i];
        CallSlot& slot = slots[i];
        VARIANT* arg = given[i];
        const UINT argIndex = arg ? static_cast<UINT>(arg - params->rgvarg) : 0;
        if (IsOmitted(arg)) {
            if (!param.optional) return failArg(DISP_E_PARAMNOTOPTIONAL, argIndex);
            if (param.hasDefault) {
                HRESULT hr = param.type == VT_VARIANT
                                 ? VariantCopy(slot.temp.Get(), const_cast<VARIANT*>(&param.defaultValue))
                                 : VariantChangeType(slot.temp.Get(), const_cast<VARIANT*>(&param.defaultValue), 0, param.type);
                if (FAILED(hr)) return hr;
            } else {
                ZeroValue(param.type, slot.temp.Get());
            }
        } else if (param.byRef && param.type == VT_VARIANT) {
            PassByRef(slot, VT_VARIANT, V_VT(arg) == (VT_BYREF | VT_VARIANT) ? V_VARIANTREF(arg) : arg);
            continue;
        } else if (param.byRef && V_VT(arg) == (VT_BYREF | param.type)) {
            PassByRef(slot, param.type, V_BYREF(arg));  // the caller's own storage
            continue;
        } else {
            HRESULT hr = Coerce(param, arg, slot.temp.Get());
            if (FAILED(hr)) return failArg(hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH, argIndex);
            if (param.byRef && (V_VT(arg) & VT_BYREF)) {
                slot.writeBack = arg;
                hr = VariantCopy(slot.passedIn.Get(), slot.temp.Get());
                if (FAILED(hr)) return hr;
            }
        }
        if (param.byRef) PassTempByRef(slot, param.type);
        else PassTempByValue(slot, param.type);
    }
    if (member->varArgs) {
        CallSlot& slot = slots[fixed];
        SAFEARRAY* list = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(extra.size()));
        if (!list) return E_OUTOFMEMORY;
        V_VT(slot.temp.Get()) = VT_ARRAY | VT_VARIANT;
        V_ARRAY(slot.temp.Get()) = list;
        for (LONG i = 0; i < static_cast<LONG>(extra.size()); ++i) {
            HRESULT hr = SafeArrayPutElement(list, &i, extra[i]);
            if (FAILED(hr)) return hr;
        }
        PassTempByRef(slot, VT_ARRAY | VT_VARIANT);
    }
    if (member->hasResult) {
        CallSlot& slot = slots[count];
        ZeroValue(member->result.type, slot.temp.Get());
        if (member->result.type == VT_VARIANT) VariantInit(slot.temp.Get());
        PassTempByRef(slot, member->result.type);
    }

    std::vector<VARTYPE> types(slots.size());
    std::vector<VARIANTARG*> args(slots.size());
    for (size_t i = 0; i < slots.size(); ++i) {
        types[i] = slots[i].callType;
        args[i] = &slots[i].callArg;
    }
    VARIANT returned;
    VariantInit(&returned);
    SetErrorInfo(0, nullptr);
    HRESULT hr = DispCallFunc(object, member->vtableOffset, CC_STDCALL, VT_ERROR,
                              static_cast<UINT>(slots.size()), types.data(), args.data(), &returned);
    if (SUCCEEDED(hr)) hr = V_ERROR(&returned);

    for (CallSlot& slot : slots)
        if (slot.writeBack && !UnchangedByCallee(slot)) WriteBack(slot.temp.Get(), slot.writeBack);

    if (FAILED(hr)) {
        if (!exception) return hr;
        FillException(hr, exception);
        return DISP_E_EXCEPTION;
    }
    if (member->hasResult && result) {
        VariantInit(result);
        slots[count].temp.Detach(result);
    }
    return S_OK;
}

}  // namespace zolbex
