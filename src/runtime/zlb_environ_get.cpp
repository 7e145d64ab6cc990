#include "runtime/zlb_environ_get.h"

#include "library/com_ptr.h"
#include "library/errors.h"
#include "library/late_bound.h"
#include "library/variant.h"
#include "library/variant_values.h"
#include "platform/platform.h"
#include "runtime/show_module_error.h"
#include "runtime/trap.h"

namespace zolbex {
namespace {

constexpr wchar_t kSource[] = L"basZolbexCommonA.ZLBEnvironGet";

ComPtr<IDispatch> CreateRunTime() {
    ComPtr<IDispatch> object;
    if (FAILED(platform::Current().CreateObject(kRunTimeProgId, object.Put())) || !object)
        Raise(Error::CannotCreate);
    return object;
}

// EnvironGet called by name with the three arguments by reference, its result as text.
std::wstring CallEnvironGet(IDispatch* runtime, LONG* lStyle, BSTR* sVariable, VARIANT_BOOL* bFullValue) {
    VARIANT arguments[3];  // last argument first
    V_VT(&arguments[2]) = VT_BYREF | VT_I4;
    V_I4REF(&arguments[2]) = lStyle;
    V_VT(&arguments[1]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&arguments[1]) = sVariable;
    V_VT(&arguments[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&arguments[0]) = bFullValue;
    const Variant result = CallByName(runtime, L"EnvironGet", DISPATCH_METHOD, arguments, 3);
    return ValueAsText(*result.Get());
}

}  // namespace

std::wstring ZLBEnvironGet(LONG* lStyle, BSTR* sVariable, VARIANT_BOOL* bFullValue) {
    ComPtr<IDispatch> runtime;
    std::wstring value;
    const auto report = [](const std::optional<AutomationError>& error) {
        if (error) ShowModuleError(*error, kSource);
    };
    report(Trap([&] { runtime = CreateRunTime(); }));
    report(Trap([&] { value = CallEnvironGet(runtime.Get(), lStyle, sVariable, bFullValue); }));
    runtime.Reset();
    return value;
}

}  // namespace zolbex
