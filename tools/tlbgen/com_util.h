// Small helpers for the generator: failing COM calls become exceptions, names become wide.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace zolbex::tlbgen {

struct GenerationError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Throws a GenerationError naming the step when hr is a failure.
void Check(HRESULT hr, const std::string& what);

// The catalogue's names are ASCII.
std::wstring Wide(const char* text);
std::string Narrow(const wchar_t* text);

// "0x1F": upper-case hexadecimal with the prefix.
std::string Hex(unsigned long value);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
std::string GuidText(const GUID& guid);

}  // namespace zolbex::tlbgen
