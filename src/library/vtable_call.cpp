#include "library/vtable_call.h"

namespace zolbex {

HRESULT CallThroughVtable(IDispatch* object, short vtableOffset, CallArguments& arguments) {
    std::vector<VARTYPE> types = arguments.Types();
    std::vector<VARIANTARG*> pointers = arguments.Pointers();
    VARIANT returned;
    VariantInit(&returned);
    SetErrorInfo(0, nullptr);
    HRESULT hr = DispCallFunc(object, vtableOffset, CC_STDCALL, VT_ERROR, arguments.Count(),
                              types.data(), pointers.data(), &returned);
    return SUCCEEDED(hr) ? V_ERROR(&returned) : hr;
}

}  // namespace zolbex
