#include "library/typelib.h"

#include <mutex>

#include "library/errors.h"
#include "library/module.h"

namespace zolbex {

ComPtr<ITypeLib> OwnTypeLib() {
    static std::mutex lock;
    static ComPtr<ITypeLib> cached;
    std::lock_guard<std::mutex> guard(lock);
    if (!cached) {
        HRESULT hr = LoadTypeLibEx(module::Path().c_str(), REGKIND_NONE, cached.Put());
        if (FAILED(hr)) throw ErrorOfFailedCall(hr, Error::TypeInfoMissing);
    }
    return cached;
}

}  // namespace zolbex
