#include "environment/variable_text.h"

#include <oleauto.h>

#include "library/errors.h"
#include "library/variant_values.h"

namespace zolbex {
namespace {

std::wstring TextOfBytes(SAFEARRAY* array) {
    std::wstring text;
    if (!array || array->cDims != 1) return text;
    const ULONG count = array->rgsabound[0].cElements;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) Raise(Error::TypeMismatch);
    const BYTE* bytes = static_cast<const BYTE*>(data);
    text.reserve((count + 1) / 2);
    for (ULONG i = 0; i < count; i += 2) {
        const wchar_t high = i + 1 < count ? static_cast<wchar_t>(bytes[i + 1] << 8) : 0;
        text.push_back(static_cast<wchar_t>(high | bytes[i]));
    }
    SafeArrayUnaccessData(array);
    return text;
}

}  // namespace

std::wstring VariableText(const VARIANT& value) {
    if (V_VT(&value) == (VT_ARRAY | VT_UI1)) return TextOfBytes(V_ARRAY(&value));
    return ValueAsText(value);
}

}  // namespace zolbex
