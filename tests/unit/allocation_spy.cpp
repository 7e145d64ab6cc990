#include "allocation_spy.h"

#include <oleauto.h>

namespace zolbex::testing {
namespace {

void SwitchOffStringCache() {
    using SetOaNoCacheFn = void(WINAPI*)();
    HMODULE oleaut = GetModuleHandleW(L"oleaut32.dll");
    auto setNoCache = oleaut ? reinterpret_cast<SetOaNoCacheFn>(
                                   reinterpret_cast<void*>(GetProcAddress(oleaut, "SetOaNoCache")))
                             : nullptr;
    if (setNoCache) setNoCache();
}

}  // namespace

AllocationSpy::AllocationSpy() {
    SwitchOffStringCache();
    installed_ = SUCCEEDED(CoRegisterMallocSpy(this));
}

AllocationSpy::~AllocationSpy() {
    if (installed_) CoRevokeMallocSpy();
}

size_t AllocationSpy::Allocations() const {
    std::lock_guard<std::mutex> guard(lock_);
    return allocations_;
}

size_t AllocationSpy::Frees() const {
    std::lock_guard<std::mutex> guard(lock_);
    return frees_;
}

size_t AllocationSpy::Outstanding() const {
    std::lock_guard<std::mutex> guard(lock_);
    return live_.size();
}

HRESULT AllocationSpy::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IMallocSpy) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IMallocSpy*>(this);
    return S_OK;
}

void* AllocationSpy::PostAlloc(void* actual) {
    std::lock_guard<std::mutex> guard(lock_);
    if (actual) {
        ++allocations_;
        live_.insert(actual);
    }
    return actual;
}

void* AllocationSpy::PreFree(void* request, BOOL spied) {
    std::lock_guard<std::mutex> guard(lock_);
    if (spied && request && live_.erase(request)) ++frees_;
    return request;
}

SIZE_T AllocationSpy::PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL spied) {
    std::lock_guard<std::mutex> guard(lock_);
    reallocating_ = spied ? request : nullptr;
    *newRequest = request;
    return size;
}

void* AllocationSpy::PostRealloc(void* actual, BOOL spied) {
    std::lock_guard<std::mutex> guard(lock_);
    if (spied && actual) {
        if (reallocating_) live_.erase(reallocating_);
        else ++allocations_;
        live_.insert(actual);
    }
    reallocating_ = nullptr;
    return actual;
}

}  // namespace zolbex::testing
