// The one IUnknown of every COM object of the library: a reference count, QueryInterface over
// the interfaces the class names, and the module's live count behind DllCanUnloadNow (an object,
// factory or enumerator alive keeps the DLL loaded).
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <atomic>
#include <utility>

#include "library/com_ptr.h"
#include "library/module.h"

namespace zolbex {

// `First` and `Others` are the interfaces the object answers, each under its own identifier;
// `First` also answers IID_IUnknown. A class answers further identifiers with AlsoAnswers.
// The count starts at zero: the first ComPtr takes the first reference.
template <class First, class... Others>
class ComObject : public First, public Others... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = Find(iid);
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    ComObject() { module::ObjectCreated(); }
    virtual ~ComObject() { module::ObjectDestroyed(); }

    // The pointer handed out for an identifier the interface list does not name (null: none).
    virtual void* AlsoAnswers(REFIID) { return nullptr; }

private:
    void* Find(REFIID iid) {
        if (iid == IID_IUnknown || iid == __uuidof(First)) return static_cast<First*>(this);
        void* found = nullptr;
        ((found = found ? found
                        : iid == __uuidof(Others) ? static_cast<void*>(static_cast<Others*>(this))
                                                  : nullptr),
         ...);
        return found ? found : AlsoAnswers(iid);
    }

    std::atomic<ULONG> references_{0};
};

// Makes a new object of a library class and returns its first reference.
template <class T, class... Args>
ComPtr<T> MakeObject(Args&&... args) {
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace zolbex
