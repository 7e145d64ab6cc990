#include "registry/registry_object.h"

#include "library/bstr.h"
#include "library/class_table.h"
#include "registry/registry_error.h"
#include "registry/variant_values.h"

namespace zolbex {

void RegistryObject::SetDefaultValue(const VARIANT& value) { default_ = ValueOf(value); }

HRESULT RegistryObject::get_ValueType(LONG* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = valueType_;
    });
}

HRESULT RegistryObject::put_ValueType(LONG lNewValue) {
    valueType_ = lNewValue;
    return S_OK;
}

HRESULT RegistryObject::get_ClassKey(LONG* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = location_.classKey;
    });
}

HRESULT RegistryObject::put_ClassKey(LONG lNewValue) {
    location_.classKey = lNewValue;
    return S_OK;
}

HRESULT RegistryObject::get_SectionKey(BSTR* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = NewBstr(location_.sectionKey);
    });
}

HRESULT RegistryObject::put_SectionKey(BSTR sNewValue) {
    return Guarded([&] { location_.sectionKey = Bstr::ViewOf(sNewValue); });
}

HRESULT RegistryObject::get_ValueKey(BSTR* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = NewBstr(location_.valueKey);
    });
}

HRESULT RegistryObject::put_ValueKey(BSTR sNewValue) {
    return Guarded([&] { location_.valueKey = Bstr::ViewOf(sNewValue); });
}

HRESULT RegistryObject::get_Default(VARIANT* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        CopyOf(*default_.Get()).Detach(pRetVal);
    });
}

HRESULT RegistryObject::put_Default(VARIANT vNewValue) {
    return Guarded([&] { SetDefaultValue(vNewValue); });
}

HRESULT RegistryObject::get_ExpandEnv(VARIANT_BOOL* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = expandEnv_;
    });
}

HRESULT RegistryObject::put_ExpandEnv(VARIANT_BOOL bNewValue) {
    expandEnv_ = bNewValue;
    return S_OK;
}

ComPtr<IDispatch> NewRegistry() {
    ComPtr<RegistryObject> object = MakeObject<RegistryObject>();
    return ComPtr<IDispatch>(object.Get());
}

}  // namespace zolbex
