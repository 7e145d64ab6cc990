#include "com_util.h"

#include <cstdio>

namespace zolbex::tlbgen {

void Check(HRESULT hr, const std::string& what) {
    if (SUCCEEDED(hr)) return;
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    throw GenerationError(what + " failed with " + code);
}

std::wstring Wide(const char* text) {
    std::wstring out;
    for (const char* p = text; p && *p; ++p) out += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return out;
}

std::string Narrow(const wchar_t* text) {
    std::string out;
    for (const wchar_t* p = text; p && *p; ++p) out += *p < 0x80 ? static_cast<char>(*p) : '?';
    return out;
}

std::string Hex(unsigned long v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", v);
    return text;
}

std::string GuidText(const GUID& g) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2],
                  g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return text;
}

}  // namespace zolbex::tlbgen
