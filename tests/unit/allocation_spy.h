// Counts the automation runtime's allocations while it is installed: every BSTR and SAFEARRAY
// (and anything else taken from the COM task allocator) made and freed. The runtime's cache of
// freed BSTRs is switched off for the process first, so that each SysAllocString and
// SysFreeString reaches the allocator (oleaut32's SetOaNoCache, found at run time).
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <mutex>
#include <set>

namespace zolbex::testing {

class AllocationSpy final : public IMallocSpy {
public:
    AllocationSpy();   // registers the spy (a test fails when that is refused)
    ~AllocationSpy();  // revokes it
    AllocationSpy(const AllocationSpy&) = delete;
    AllocationSpy& operator=(const AllocationSpy&) = delete;

    bool Installed() const { return installed_; }
    size_t Allocations() const;  // blocks allocated since installation
    size_t Frees() const;        // blocks freed of those
    size_t Outstanding() const;  // allocated since installation and not freed yet

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override;
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override;
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL spied) override;
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL spied) override;
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}

private:
    mutable std::mutex lock_;
    std::set<void*> live_;
    size_t allocations_ = 0;
    size_t frees_ = 0;
    void* reallocating_ = nullptr;  // the block a reallocation in progress replaces
    bool installed_ = false;
};

}  // namespace zolbex::testing
