#include "library/late_bound.h"

#include <oleauto.h>

#include "library/bstr.h"
#include "library/errors.h"

namespace zolbex {
namespace {

// The error a late-bound call reported in its exception information.
[[noreturn]] void RaiseFromException(EXCEPINFO& exception) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    Bstr source = Bstr::Attach(exception.bstrSource);
    Bstr description = Bstr::Attach(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    const HRESULT code = exception.scode ? exception.scode : ErrorCodeOf(exception.wCode);
    throw AutomationError(code, source.Str(), description.Str());
}

}  // namespace

Variant CallByName(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* arguments, UINT count) {
    if (!object) Raise(Error::ObjectNotSet);
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        Raise(Error::NoSuchMember);

    DISPPARAMS params{arguments, nullptr, count, 0};
    Variant result;
    EXCEPINFO exception{};
    UINT argumentInError = 0;
    SetErrorInfo(0, nullptr);
    const HRESULT hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result.Get(), &exception,
                                      &argumentInError);
    if (hr == DISP_E_EXCEPTION) RaiseFromException(exception);
    ThrowIfFailed(hr);
    return result;
}

}  // namespace zolbex
