#include "library/argument_placement.h"

namespace zolbex {

HRESULT PlaceArguments(const MemberInfo& member, DISPPARAMS& params, PlacedArguments& placed,
                       UINT* argError) {
    const bool isPut = member.kind == INVOKE_PROPERTYPUT || member.kind == INVOKE_PROPERTYPUTREF;
    const size_t count = member.params.size();
    const size_t fixed = member.varArgs ? count - 1 : count;
    placed.byParam.assign(count, nullptr);
    placed.extra.clear();

    const UINT named = params.cNamedArgs;
    if (named > params.cArgs) return E_INVALIDARG;
    for (UINT k = 0; k < named; ++k) {
        DISPID name = params.rgdispidNamedArgs[k];
        if (name < 0 && !(name == DISPID_PROPERTYPUT && isPut && fixed > 0))
            return ArgumentFault(DISP_E_PARAMNOTFOUND, k, argError);
        size_t index = name == DISPID_PROPERTYPUT ? fixed - 1 : static_cast<size_t>(name);
        if (index >= fixed || placed.byParam[index]) return ArgumentFault(DISP_E_PARAMNOTFOUND, k, argError);
        placed.byParam[index] = &params.rgvarg[k];
    }
    // Positional arguments are stored last first.
    const UINT positional = params.cArgs - named;
    for (UINT j = 0; j < positional; ++j) {
        UINT argIndex = params.cArgs - 1 - j;
        VARIANT* arg = &params.rgvarg[argIndex];
        if (j < fixed) {
            if (placed.byParam[j]) return ArgumentFault(DISP_E_BADPARAMCOUNT, argIndex, argError);
            placed.byParam[j] = arg;
        } else if (member.varArgs) {
            placed.extra.push_back(arg);
        } else {
            return DISP_E_BADPARAMCOUNT;
        }
    }
    return S_OK;
}

}  // namespace zolbex
