#include "library/typelib.h"

#include <mutex>

#include "library/errors.h"
#include "library/module.h"

namespace zolbex {

namespace {

std::mutex g_lock;
// Never destroyed: static destruction runs at process exit too, where oleaut32 may be gone
// already; the DLL releases it when it is freed (dll_entry.cpp).
ComPtr<ITypeLib>& Cached() {
    static ComPtr<ITypeLib>* cached = new ComPtr<ITypeLib>();
    return *cached;
}

}  // namespace

ComPtr<ITypeLib> OwnTypeLib() {
    std::lock_guard<std::mutex> guard(g_lock);
    ComPtr<ITypeLib>& cached = Cached();
    if (!cached) {
        HRESULT hr = LoadTypeLibEx(module::Path().c_str(), REGKIND_NONE, cached.Put());
        if (FAILED(hr)) throw ErrorOfFailedCall(hr, Error::TypeInfoMissing);
    }
    return cached;
}

void ReleaseOwnTypeLib() {
    std::lock_guard<std::mutex> guard(g_lock);
    Cached().Reset();
}

}  // namespace zolbex
