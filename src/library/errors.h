// One way to raise and carry automation errors (number, source, description) for every class.
//
// Member bodies throw AutomationError; Guarded() at the COM boundary records it as the
// thread's IErrorInfo and returns its HRESULT. Every place that turns an exception into an
// answer goes through CaughtError(), so each kind of exception is translated in one place.
// Error numbers as clients see them in Err.Number: a small number n (1..65535) travels as the
// HRESULT 0x800A0000 | n, anything else is the HRESULT itself (for example -2147194455 =
// 0x800469A9).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <exception>
#include <string>
#include <type_traits>
#include <utility>

#include "library/error_table.h"

namespace zolbex {

// The numbers of the runtime errors, for code that compares an error it caught.
enum RuntimeError : long {
    kInvalidProcedureCall = RowOf(Error::InvalidCall).number,
    kSubscriptOutOfRange = RowOf(Error::Subscript).number,
    kTypeMismatch = RowOf(Error::TypeMismatch).number,
    kOutOfStringSpace = RowOf(Error::OutOfStringSpace).number,
    kObjectNotSet = RowOf(Error::ObjectNotSet).number,
    kCannotCreateObject = RowOf(Error::CannotCreate).number,
    kDuplicateKey = RowOf(Error::DuplicateKey).number,
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

// The HRESULT that carries a client-visible error number, and the number an HRESULT carries.
HRESULT ErrorCodeOf(long number);
long NumberOf(HRESULT hr);

// Raises error `number` with the given source and description.
[[noreturn]] void Raise(long number, const std::wstring& source, const std::wstring& description);
// Raises one of the errors of the table, its description's parts filled in.
[[noreturn]] void Raise(Error id, DescriptionParts parts = {});
// The error of the table as an AutomationError, for code that reports instead of throwing.
AutomationError ErrorOf(Error id, DescriptionParts parts = {});
// A row whose number is that of the call that failed (0 in the table), with that call's HRESULT.
AutomationError ErrorOfFailedCall(HRESULT hr, Error id);
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
    if (!pointer) throw ErrorOf(Error::InvalidPointer);
}

// The exception being handled (call only inside a catch block) as an automation error: an
// AutomationError as thrown, an exhausted allocation as out of memory, anything else as an
// unexpected failure.
AutomationError CaughtError();

// Whether a boundary records its failure as the thread's error object. Member bodies do; the
// frame's IUnknown, IClassFactory and IEnumVARIANT methods, IDispatch's GetTypeInfoCount,
// GetTypeInfo and GetIDsOfNames, and the DLL's entry points leave the error object alone: a
// client reads it only after a member's failure, and those methods are no member.
enum class ErrorObject { Record, LeaveAlone };

// The COM boundary's answer to the exception being handled: its HRESULT, recorded as the
// thread's error object or not.
HRESULT AnswerCaught(ErrorObject errorObject);

// Runs `body` at the COM boundary: S_OK (or the HRESULT the body returns), or the error it
// raised as an HRESULT, with an IErrorInfo when `errorObject` says so.
template <class Body>
HRESULT Guarded(ErrorObject errorObject, Body&& body) noexcept {
    // An error object left on the thread by an earlier call must not be taken for one that a
    // call inside this body failed with.
    if (errorObject == ErrorObject::Record) SetErrorInfo(0, nullptr);
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            return S_OK;
        } else {
            return body();
        }
    } catch (...) {
        return AnswerCaught(errorObject);
    }
}

// Runs a member body at the COM boundary: S_OK, or the error as HRESULT + IErrorInfo.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
    return Guarded(ErrorObject::Record, std::forward<Body>(body));
}

}  // namespace zolbex
