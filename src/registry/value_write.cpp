// Value (let) and WriteKey: writing one registry value by the object's ValueType, creating the
// key path first.
#include <windows.h>
#include <oleauto.h>

#include <cstring>

#include "library/variant_values.h"
#include "platform/platform.h"
#include "registry/location_override.h"
#include "registry/registry_error.h"
#include "registry/registry_key.h"
#include "registry/registry_object.h"

namespace zolbex {
namespace {

// A text with a "%" and another "%" at least two positions after the first one is stored as an
// expandable string; two adjacent percent signs alone are not a reference.
DWORD TextTypeFor(const std::wstring& text) {
    const size_t first = text.find(L'%');
    if (first == std::wstring::npos) return REG_SZ;
    return text.find(L'%', first + 2) == std::wstring::npos ? REG_SZ : REG_EXPAND_SZ;
}

LONG StoreText(HKEY key, const std::wstring& name, const VARIANT& value) {
    const std::wstring text = ValueAsText(value);
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));  // one terminator
    return platform::Current().SetValue(key, name, TextTypeFor(text), reinterpret_cast<const BYTE*>(text.c_str()),
                                        size);
}

LONG StoreBytes(HKEY key, const std::wstring& name, const VARIANT& value) {
    if (V_VT(&value) != (VT_ARRAY | VT_UI1)) RaiseBinaryNeedsByteArray();
    SAFEARRAY* array = V_ARRAY(&value);
    if (!array) return platform::Current().SetValue(key, name, REG_BINARY, nullptr, 0);
    // Every element from the lower to the upper bound, whatever the bounds are.
    DWORD count = array->cDims ? 1 : 0;
    for (USHORT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
    void* data = nullptr;
    HRESULT hr = SafeArrayAccessData(array, &data);
    if (FAILED(hr)) Raise(Error::TypeMismatch);
    LONG result = platform::Current().SetValue(key, name, REG_BINARY, static_cast<const BYTE*>(data), count);
    SafeArrayUnaccessData(array);
    return result;
}

// A 16- or 32-bit integer is stored as it is; anything else goes through the runtime's
// coercion to a 32-bit integer, and a value that does not convert is a failed write.
LONG StoreInteger(HKEY key, const std::wstring& name, const VARIANT& value) {
    LONG number = 0;
    if (V_VT(&value) == VT_I4) {
        number = V_I4(&value);
    } else if (V_VT(&value) == VT_I2) {
        number = V_I2(&value);
    } else {
        Variant converted;
        if (FAILED(VariantChangeType(converted.Get(), const_cast<VARIANT*>(&value), 0, VT_I4)))
            return ERROR_INVALID_DATA;
        number = V_I4(converted.Get());
    }
    // REG_DWORD_BIG_ENDIAN is written as a plain REG_DWORD too.
    return platform::Current().SetValue(key, name, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                        sizeof number);
}

LONG StoreValue(HKEY key, const std::wstring& name, LONG valueType, const VARIANT& value) {
    switch (valueType) {
        case REG_SZ:
        case REG_EXPAND_SZ: return StoreText(key, name, value);
        case REG_BINARY: return StoreBytes(key, name, value);
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN: return StoreInteger(key, name, value);
        default: return ERROR_INVALID_DATA;  // no layout for this type: nothing is written
    }
}

}  // namespace

void RegistryObject::Write(const VARIANT& newValue) const {
    const Variant value = CopyOf(newValue);
    RegistryKey key;
    if (key.Create(location_.classKey, location_.sectionKey, kWriteAccess) != ERROR_SUCCESS)
        RaiseKeyNotWritable(location_, DescribeValue(*value.Get()));
    LONG result = StoreValue(key.Get(), location_.valueKey, valueType_, *value.Get());
    key.Close();
    if (result != ERROR_SUCCESS) RaiseWriteFailed(location_, DescribeValue(*value.Get()));
}

HRESULT RegistryObject::put_Value(VARIANT vNewValue) {
    return Guarded([&] { Write(vNewValue); });
}

HRESULT RegistryObject::WriteKey(VARIANT* value, BSTR* valueKey, BSTR* sectionKey, LONG* classKey) {
    return Guarded([&] {
        RequirePointer(value);
        LocationOverride override(location_, valueKey, sectionKey, classKey);
        Write(*value);
        override.Restore();
    });
}

}  // namespace zolbex
