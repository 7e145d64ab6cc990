#include "registry/name_array.h"

#include <oleauto.h>

#include <new>

#include "library/bstr.h"
#include "library/errors.h"
#include "library/variant.h"

namespace zolbex {

void ClearNames(SAFEARRAY** array, LONG* count) {
    *count = 0;
    if (!*array) return;
    if (FAILED(SafeArrayDestroy(*array))) Raise(Error::ArrayLocked);
    *array = nullptr;
}

void StoreNames(const std::vector<std::wstring>& names, SAFEARRAY** array, LONG* count) {
    ClearNames(array, count);
    if (names.empty()) return;
    SAFEARRAYBOUND bound{static_cast<ULONG>(names.size()), 1};
    SAFEARRAY* created = SafeArrayCreate(VT_BSTR, 1, &bound);
    if (!created) throw std::bad_alloc();
    BSTR* elements = static_cast<BSTR*>(created->pvData);
    try {
        for (size_t i = 0; i < names.size(); ++i) elements[i] = NewBstr(names[i]);
    } catch (...) {
        SafeArrayDestroy(created);
        throw;
    }
    *array = created;
    *count = static_cast<LONG>(names.size());
}

}  // namespace zolbex
