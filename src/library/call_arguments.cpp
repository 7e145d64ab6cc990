#include "library/call_arguments.h"

#include "library/argument_coercion.h"
#include "library/argument_placement.h"
#include "library/variant_data.h"
#include "library/variant_values.h"
#include "library/write_back.h"

namespace zolbex {

CallArguments::CallArguments(const MemberInfo& member)
    : member_(member), slots_(member.params.size() + (member.hasResult ? 1 : 0)) {}

HRESULT CallArguments::Prepare(DISPPARAMS& params, UINT* argError) {
    PlacedArguments placed;
    HRESULT hr = PlaceArguments(member_, params, placed, argError);
    if (FAILED(hr)) return hr;

    const size_t fixed = member_.varArgs ? member_.params.size() - 1 : member_.params.size();
    for (size_t i = 0; i < fixed; ++i) {
        VARIANT* arg = placed.byParam[i];
        const UINT argIndex = arg ? static_cast<UINT>(arg - params.rgvarg) : 0;
        hr = PrepareFixed(member_.params[i], arg, argIndex, slots_[i], argError);
        if (FAILED(hr)) return hr;
    }
    if (member_.varArgs) {
        hr = PrepareVarArgs(placed.extra, params.rgvarg, slots_[fixed], argError);
        if (FAILED(hr)) return hr;
    }
    if (member_.hasResult) PrepareResult(slots_.back());
    return S_OK;
}

HRESULT CallArguments::PrepareFixed(const ParamInfo& param, VARIANT* arg, UINT argIndex,
                                    Slot& slot, UINT* argError) {
    if (IsOmitted(arg)) {
        if (!param.optional) return ArgumentFault(DISP_E_PARAMNOTOPTIONAL, argIndex, argError);
        HRESULT hr = OmittedValue(param, slot.temp.Get());
        if (FAILED(hr)) return hr;
    } else if (param.byRef && param.type == VT_VARIANT) {
        PassByRef(slot, VT_VARIANT, V_VT(arg) == (VT_BYREF | VT_VARIANT) ? V_VARIANTREF(arg) : arg);
        return S_OK;
    } else if (param.byRef && V_VT(arg) == (VT_BYREF | param.type)) {
        PassByRef(slot, param.type, V_BYREF(arg));  // the caller's own storage
        return S_OK;
    } else {
        VARIANT* variable = param.byRef ? WriteBackTarget(arg) : nullptr;
        // An array handed back to a variable that cannot hold it would be lost after the call.
        if (variable && (param.type & VT_ARRAY) && !CanHoldArray(*variable, param.type))
            return ArgumentFault(DISP_E_TYPEMISMATCH, argIndex, argError);
        HRESULT hr = Coerce(param, arg, slot.temp.Get());
        if (FAILED(hr))
            return ArgumentFault(hr == DISP_E_OVERFLOW ? hr : DISP_E_TYPEMISMATCH, argIndex, argError);
        if (variable) {
            slot.writeBack = variable;
            slot.argIndex = argIndex;
            hr = VariantCopy(slot.passedIn.Get(), slot.temp.Get());
            if (FAILED(hr)) return hr;
        }
    }
    if (param.byRef) PassTempByRef(slot, param.type);
    else PassTempByValue(slot, param.type);
    return S_OK;
}

HRESULT CallArguments::PrepareVarArgs(const std::vector<VARIANT*>& extra, const VARIANT* rgvarg, Slot& slot,
                                      UINT* argError) {
    SAFEARRAY* list = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(extra.size()));
    if (!list) return E_OUTOFMEMORY;
    V_VT(slot.temp.Get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(slot.temp.Get()) = list;
    for (LONG i = 0; i < static_cast<LONG>(extra.size()); ++i) {
        // An argument the list cannot hold a copy of (a record that cannot be copied, a type no
        // VARIANT has) is the caller's mistake.
        HRESULT hr = SafeArrayPutElement(list, &i, extra[i]);
        if (hr == E_OUTOFMEMORY) return hr;
        if (FAILED(hr)) return ArgumentFault(DISP_E_TYPEMISMATCH, static_cast<UINT>(extra[i] - rgvarg), argError);
    }
    PassTempByRef(slot, VT_ARRAY | VT_VARIANT);
    return S_OK;
}

void CallArguments::PrepareResult(Slot& slot) {
    ZeroValue(member_.result.type, slot.temp.Get());
    if (member_.result.type == VT_VARIANT) VariantInit(slot.temp.Get());
    PassTempByRef(slot, member_.result.type);
}

std::vector<VARTYPE> CallArguments::Types() const {
    std::vector<VARTYPE> types;
    for (const Slot& slot : slots_) types.push_back(slot.callType);
    return types;
}

std::vector<VARIANTARG*> CallArguments::Pointers() {
    std::vector<VARIANTARG*> pointers;
    for (Slot& slot : slots_) pointers.push_back(&slot.callArg);
    return pointers;
}

HRESULT CallArguments::WriteBackChanged(UINT* argError) {
    HRESULT first = S_OK;
    for (Slot& slot : slots_) {
        if (!slot.writeBack || !ChangedByCallee(*slot.temp.Get(), *slot.passedIn.Get())) continue;
        HRESULT hr = WriteBack(slot.temp.Get(), slot.writeBack);
        if (FAILED(hr) && SUCCEEDED(first)) first = ArgumentFault(hr, slot.argIndex, argError);
    }
    return first;
}

void CallArguments::HandOutResult(VARIANT* result) {
    if (!member_.hasResult || !result) return;
    VariantInit(result);
    slots_.back().temp.Detach(result);
}

void CallArguments::PassByRef(Slot& slot, VARTYPE type, void* pointer) {
    slot.callType = VT_BYREF | type;
    V_VT(&slot.callArg) = slot.callType;
    V_BYREF(&slot.callArg) = pointer;
}

void CallArguments::PassTempByRef(Slot& slot, VARTYPE type) {
    PassByRef(slot, type, type == VT_VARIANT ? static_cast<void*>(slot.temp.Get()) : DataOf(slot.temp.Get()));
}

void CallArguments::PassTempByValue(Slot& slot, VARTYPE type) {
    slot.callType = type;
    slot.callArg = *slot.temp.Get();  // a shallow view: temp keeps ownership
}

}  // namespace zolbex
