#include "library/class_factory.h"

#include <new>

#include "library/com_object.h"
#include "library/errors.h"
#include "library/module.h"

namespace zolbex {
namespace {

// Counted like every object of the library: a factory a client keeps keeps the DLL loaded.
class ClassFactory final : public ComObject<IClassFactory> {
public:
    explicit ClassFactory(ClassCreator create) : create_(create) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ComPtr<IDispatch> object;
        HRESULT hr = Guarded(ErrorObject::LeaveAlone, [&] { object = create_(); });
        if (FAILED(hr)) return hr;
        return object->QueryInterface(iid, out);
    }

    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) module::Lock();
        else module::Unlock();
        return S_OK;
    }

private:
    ClassCreator create_;
};

}  // namespace

HRESULT GetClassFactory(ClassCreator create, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<ClassFactory> factory(new (std::nothrow) ClassFactory(create));
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
}

}  // namespace zolbex
