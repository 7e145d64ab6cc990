// One way to raise and carry automation errors (number, source, description) for every class.
//
// Member bodies throw AutomationError; Guarded() at the COM boundary records it as the
// thread's IErrorInfo and returns its HRESULT. Error numbers as clients see them in Err.Number:
// a small number n (1..65535) travels as the HRESULT 0x800A0000 | n, anything else is the
// HRESULT itself (for example -2147194455 = 0x800469A9).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <exception>
#include <new>
#include <string>

namespace zolbex {

// Source of the errors raised by the library's runtime itself (bad index, type mismatch...).
inline constexpr wchar_t kLibrarySource[] = L"ZOLBEX11";

// Runtime error numbers of the automation runtime that the library raises.
enum RuntimeError : long {
    kInvalidProcedureCall = 5,
    kOutOfMemory = 7,
    kSubscriptOutOfRange = 9,
    kTypeMismatch = 13,
    kOutOfStringSpace = 14,
    kObjectNotSet = 91,
    kCannotCreateObject = 429,
    kDuplicateKey = 457,
};

class AutomationError : public std::exception {
public:
    AutomationError(HRESULT hr, std::wstring source, std::wstring description)
        : hr_(hr), source_(std::move(source)), description_(std::move(description)) {}

    HRESULT Code() const { return hr_; }
    // The number a client reads from Err.Number.
    long Number() const;
    const std::wstring& Source() const { return source_; }
    const std::wstring& Description() const { return description_; }
    const char* what() const noexcept override { return "automation error"; }

private:
    HRESULT hr_;
    std::wstring source_;
    std::wstring description_;
};

// The HRESULT that carries a client-visible error number.
HRESULT ErrorCodeOf(long number);

// Raises error `number` with the given source and description.
[[noreturn]] void Raise(long number, const std::wstring& source, const std::wstring& description);
// Raises one of the runtime's own errors with its standard text.
[[noreturn]] void RaiseRuntime(RuntimeError number);
// The runtime's standard text for one of its error numbers.
std::wstring RuntimeErrorText(long number);

// Records the error as the thread's error object and returns its HRESULT.
HRESULT Report(const AutomationError& error);

// Throws the error behind a failed HRESULT, keeping the number, source and description of the
// error object the callee left (or a standard text when it left none). No-op on success.
void ThrowIfFailed(HRESULT hr);

// The one check of an out-pointer (or a required in-pointer) in a member body, inside Guarded:
// a null one from an early-bound caller fails the call with E_POINTER and an error object like
// any other failure. (The IUnknown, IDispatch, IClassFactory and IEnumVARIANT methods of the
// frame return E_POINTER directly instead: they must leave the thread's error object alone.)
inline void RequirePointer(const void* pointer) {
    if (!pointer) throw AutomationError(E_POINTER, kLibrarySource, L"Invalid pointer");
}

// Runs a member body at the COM boundary: S_OK, or the error as HRESULT + IErrorInfo.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    // An error object left on the thread by an earlier call must not be taken for one that a
    // call inside this body failed with.
    SetErrorInfo(0, nullptr);
    try {
        body();
        return S_OK;
    } catch (const AutomationError& error) {
        return Report(error);
    } catch (const std::bad_alloc&) {
        return Report(AutomationError(E_OUTOFMEMORY, kLibrarySource, RuntimeErrorText(kOutOfMemory)));
    } catch (...) {
        return Report(AutomationError(E_UNEXPECTED, kLibrarySource, L"Unexpected failure"));
    }
}

}  // namespace zolbex
