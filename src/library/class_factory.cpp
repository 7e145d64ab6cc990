#include "library/class_factory.h"

#include <atomic>

#include "library/errors.h"
#include "library/module.h"

namespace zolbex {
namespace {

class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(ClassCreator create) : create_(create) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        ComPtr<IDispatch> object;
        HRESULT hr = Guarded([&] { object = create_(); });
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
    std::atomic<ULONG> references_{0};
};

}  // namespace

HRESULT GetClassFactory(ClassCreator create, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* factory = new (std::nothrow) ClassFactory(create);
    if (!factory) return E_OUTOFMEMORY;
    factory->AddRef();
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

}  // namespace zolbex
