// An object of another component, played by a test: it answers IUnknown and one interface and
// counts its own references, and (unlike the library's ComObject) it is not one of the
// library's live objects, so the live-object checks of the tests do not see it.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>

namespace zolbex::testing {

// Starts with one reference, which the creator owns (ComPtr<...>::Attach).
template <class Interface>
class ForeignObject : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(Interface)) return E_NOINTERFACE;
        *out = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    virtual ~ForeignObject() = default;

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace zolbex::testing
