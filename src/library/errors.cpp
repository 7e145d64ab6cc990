#include "library/errors.h"

#include "library/bstr.h"
#include "library/com_ptr.h"

#include <oleauto.h>

#include <new>

namespace zolbex {

long AutomationError::Number() const { return NumberOf(hr_); }

long NumberOf(HRESULT hr) {
    if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return HRESULT_CODE(hr);
    return hr;
}

HRESULT ErrorCodeOf(long number) {
    if (number > 0 && number <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
    return static_cast<HRESULT>(number);
}

void Raise(long number, const std::wstring& source, const std::wstring& description) {
    throw AutomationError(ErrorCodeOf(number), source, description);
}

AutomationError ErrorOf(Error id, DescriptionParts parts) {
    const ErrorRow& row = RowOf(id);
    return AutomationError(ErrorCodeOf(row.number), row.source, DescriptionOf(id, parts));
}

AutomationError ErrorOfFailedCall(HRESULT hr, Error id) {
    return AutomationError(hr, RowOf(id).source, DescriptionOf(id));
}

void Raise(Error id, DescriptionParts parts) { throw ErrorOf(id, parts); }

std::wstring RuntimeErrorText(long number) {
    if (number == E_OUTOFMEMORY) return DescriptionOf(Error::OutOfMemory);
    for (const ErrorRow& row : kErrorRows)
        if (row.number == number && number > 0 && number <= 0xFFFF && row.source == kLibrarySource)
            return row.description;
    return RowOf(Error::ComFailure).description;
}

HRESULT Report(const AutomationError& error) {
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.Put()))) {
        create->SetGUID(GUID_NULL);
        create->SetSource(const_cast<wchar_t*>(error.Source().c_str()));
        create->SetDescription(const_cast<wchar_t*>(error.Description().c_str()));
        create->SetHelpFile(nullptr);
        create->SetHelpContext(0);
        ComPtr<IErrorInfo> info = create.As<IErrorInfo>(IID_IErrorInfo);
        SetErrorInfo(0, info.Get());
    }
    return error.Code();
}

AutomationError CaughtError() {
    try {
        throw;
    } catch (const AutomationError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return ErrorOf(Error::OutOfMemory);
    } catch (...) {
        return ErrorOf(Error::Unexpected);
    }
}

HRESULT AnswerCaught(ErrorObject errorObject) {
    const AutomationError error = CaughtError();
    return errorObject == ErrorObject::Record ? Report(error) : error.Code();
}

void ThrowIfFailed(HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    ComPtr<IErrorInfo> info;
    std::wstring source = kLibrarySource, description;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        Bstr text;
        if (SUCCEEDED(info->GetSource(text.Put())) && !text.Empty()) source = text.Str();
        if (SUCCEEDED(info->GetDescription(text.Put()))) description = text.Str();
    }
    if (description.empty()) description = RuntimeErrorText(NumberOf(hr));
    throw AutomationError(hr, std::move(source), std::move(description));
}

}  // namespace zolbex
