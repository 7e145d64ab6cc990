// Helpers shared by the unit tests: late-bound calls through IDispatch, error inspection and
// the live-object count.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "library/bstr.h"
#include "library/com_ptr.h"
#include "library/module.h"
#include "library/variant.h"

namespace zolbex::testing {

// A VARIANT argument built in place: text, integers, Booleans, or a by-ref view of a variable.
Variant Text(const wchar_t* text);
Variant Long(LONG value);
Variant Short(SHORT value);
Variant Double(double value);
Variant Bool(bool value);
Variant RefTo(VARIANT* variable);    // VT_BYREF | VT_VARIANT
Variant RefToBstr(BSTR* variable);   // VT_BYREF | VT_BSTR
Variant RefToLong(LONG* variable);   // VT_BYREF | VT_I4
Variant Missing();                   // an omitted argument

// What one IDispatch::Invoke returned.
struct CallResult {
    HRESULT hr = S_OK;
    Variant value;
    EXCEPINFO exception{};
    UINT argError = ~0u;
    CallResult() = default;
    CallResult(CallResult&& other) noexcept { *this = std::move(other); }
    CallResult& operator=(CallResult&& other) noexcept;
    ~CallResult();
};

// Calls member `name` with `args` in the caller's order; `named` names the trailing arguments.
CallResult Call(IDispatch* object, const wchar_t* name, WORD flags, std::vector<Variant> args,
                std::vector<const wchar_t*> named = {});
CallResult CallMethod(IDispatch* object, const wchar_t* name, std::vector<Variant> args = {});
CallResult GetProperty(IDispatch* object, const wchar_t* name, std::vector<Variant> args = {});
CallResult PutProperty(IDispatch* object, const wchar_t* name, std::vector<Variant> args);
CallResult PutRefProperty(IDispatch* object, const wchar_t* name, Variant value);

DISPID IdOf(IDispatch* object, const wchar_t* name);

// Number, source and description of the error a failing call reported.
struct ErrorSeen {
    long number = 0;
    std::wstring source;
    std::wstring description;
};
ErrorSeen ErrorOf(const CallResult& result);
// The thread's error object after a failing vtable call.
ErrorSeen LastError(HRESULT hr);

std::wstring Str(const Variant& value);

// Initialises COM for the test's thread and checks that every object made during the test has
// been released when it ends.
class ComTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    long objectsAtStart_ = 0;
};

}  // namespace zolbex::testing
