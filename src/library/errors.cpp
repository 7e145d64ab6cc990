#include "library/errors.h"

#include "library/bstr.h"
#include "library/com_ptr.h"

#include <oleauto.h>

namespace zolbex {

long AutomationError::Number() const {
    if (HRESULT_FACILITY(hr_) == FACILITY_CONTROL) return HRESULT_CODE(hr_);
    return hr_;
}

HRESULT ErrorCodeOf(long number) {
    if (number > 0 && number <= 0xFFFF) return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
    return static_cast<HRESULT>(number);
}

void Raise(long number, const std::wstring& source, const std::wstring& description) {
    throw AutomationError(ErrorCodeOf(number), source, description);
}

std::wstring RuntimeErrorText(long number) {
    switch (number) {
        case kInvalidProcedureCall: return L"Invalid procedure call or argument";
        case kOutOfMemory: return L"Out of memory";
        case kSubscriptOutOfRange: return L"Subscript out of range";
        case kTypeMismatch: return L"Type mismatch";
        case kOutOfStringSpace: return L"Out of string space";
        case kObjectNotSet: return L"Object variable or With block variable not set";
        case kCannotCreateObject: return L"ActiveX component can't create object";
        case kDuplicateKey: return L"This key is already associated with an element of this collection";
        default: return L"Automation error";
    }
}

void RaiseRuntime(RuntimeError number) {
    Raise(number, kLibrarySource, RuntimeErrorText(number));
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

void ThrowIfFailed(HRESULT hr) {
    if (SUCCEEDED(hr)) return;
    ComPtr<IErrorInfo> info;
    std::wstring source = kLibrarySource, description;
    if (GetErrorInfo(0, info.Put()) == S_OK && info) {
        Bstr text;
        if (SUCCEEDED(info->GetSource(text.Put())) && !text.Empty()) source = text.Str();
        if (SUCCEEDED(info->GetDescription(text.Put()))) description = text.Str();
    }
    if (description.empty()) {
        long number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : hr;
        description = RuntimeErrorText(number);
        if (hr == E_OUTOFMEMORY) description = RuntimeErrorText(kOutOfMemory);
    }
    throw AutomationError(hr, std::move(source), std::move(description));
}

}  // namespace zolbex
