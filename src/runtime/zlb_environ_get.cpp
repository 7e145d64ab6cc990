#include "runtime/zlb_environ_get.h"

#include <oleauto.h>

#include "library/bstr.h"
#include "library/com_ptr.h"
#include "library/errors.h"
#include "library/variant.h"
#include "platform/platform.h"
#include "registry/variant_values.h"
#include "runtime/show_module_error.h"
#include "runtime/trap.h"

namespace zolbex {
namespace {

constexpr wchar_t kSource[] = L"basZolbexCommonA.ZLBEnvironGet";

ComPtr<IDispatch> CreateRunTime() {
    ComPtr<IDispatch> object;
    if (FAILED(platform::Current().CreateObject(kRunTimeProgId, object.Put())) || !object)
        RaiseRuntime(kCannotCreateObject);
    return object;
}

// The error a late-bound call reported in its exception information.
[[noreturn]] void RaiseFromException(EXCEPINFO& exception) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    Bstr source = Bstr::Attach(exception.bstrSource);
    Bstr description = Bstr::Attach(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    const HRESULT code = exception.scode ? exception.scode : ErrorCodeOf(exception.wCode);
    throw AutomationError(code, source.Str(), description.Str());
}

std::wstring CallEnvironGet(IDispatch* runtime, LONG* lStyle, BSTR* sVariable, VARIANT_BOOL* bFullValue) {
    if (!runtime) RaiseRuntime(kObjectNotSet);
    LPOLESTR name = const_cast<LPOLESTR>(L"EnvironGet");
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(runtime->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)))
        Raise(438, kLibrarySource, L"Object doesn't support this property or method");

    VARIANT arguments[3];  // last argument first
    V_VT(&arguments[2]) = VT_BYREF | VT_I4;
    V_I4REF(&arguments[2]) = lStyle;
    V_VT(&arguments[1]) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&arguments[1]) = sVariable;
    V_VT(&arguments[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&arguments[0]) = bFullValue;
    DISPPARAMS params{arguments, nullptr, 3, 0};
    Variant result;
    EXCEPINFO exception{};
    UINT argumentInError = 0;
    const HRESULT hr = runtime->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Get(),
                                       &exception, &argumentInError);
    if (hr == DISP_E_EXCEPTION) RaiseFromException(exception);
    ThrowIfFailed(hr);
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
