#include "registry/registry_object.h"

#include "library/bstr.h"
#include "library/class_table.h"
#include "library/variant_values.h"
#include "registry/registry_error.h"

namespace zolbex {
namespace {

// The get and let of a stored property: handed out and replaced as it is, without validation.
template <class T>
HRESULT HandOut(const T& field, T* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = field;
    });
}

template <class T>
HRESULT Replace(T& field, T newValue) {
    field = newValue;
    return S_OK;
}

HRESULT HandOut(const std::wstring& field, BSTR* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = NewBstr(field);
    });
}

HRESULT Replace(std::wstring& field, BSTR newValue) {
    return Guarded([&] { field = Bstr::ViewOf(newValue); });
}

}  // namespace

void RegistryObject::SetDefaultValue(const VARIANT& value) { default_ = ValueOf(value); }

HRESULT RegistryObject::get_ValueType(LONG* pRetVal) { return HandOut(valueType_, pRetVal); }

HRESULT RegistryObject::put_ValueType(LONG lNewValue) { return Replace(valueType_, lNewValue); }

HRESULT RegistryObject::get_ClassKey(LONG* pRetVal) { return HandOut(location_.classKey, pRetVal); }

HRESULT RegistryObject::put_ClassKey(LONG lNewValue) { return Replace(location_.classKey, lNewValue); }

HRESULT RegistryObject::get_SectionKey(BSTR* pRetVal) { return HandOut(location_.sectionKey, pRetVal); }

HRESULT RegistryObject::put_SectionKey(BSTR sNewValue) { return Replace(location_.sectionKey, sNewValue); }

HRESULT RegistryObject::get_ValueKey(BSTR* pRetVal) { return HandOut(location_.valueKey, pRetVal); }

HRESULT RegistryObject::put_ValueKey(BSTR sNewValue) { return Replace(location_.valueKey, sNewValue); }

HRESULT RegistryObject::get_Default(VARIANT* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        CopyOf(*default_.Get()).Detach(pRetVal);
    });
}

HRESULT RegistryObject::put_Default(VARIANT vNewValue) {
    return Guarded([&] { SetDefaultValue(vNewValue); });
}

HRESULT RegistryObject::get_ExpandEnv(VARIANT_BOOL* pRetVal) { return HandOut(expandEnv_, pRetVal); }

HRESULT RegistryObject::put_ExpandEnv(VARIANT_BOOL bNewValue) { return Replace(expandEnv_, bNewValue); }

ComPtr<IDispatch> NewRegistry() {
    ComPtr<RegistryObject> object = MakeObject<RegistryObject>();
    return ComPtr<IDispatch>(object.Get());
}

}  // namespace zolbex
