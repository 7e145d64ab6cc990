#include "failing_allocations.h"

#include <cstdlib>
#include <new>

namespace zolbex::testing {
namespace {

// Per thread, so that other threads of the test process allocate as usual.
thread_local bool t_counting = false;
thread_local size_t t_made = 0;
thread_local size_t t_failAt = 0;
thread_local bool t_failed = false;

// Whether this allocation is the one to fail.
bool FailsNow() {
    if (!t_counting) return false;
    ++t_made;
    if (t_failAt != 0 && t_made == t_failAt) {
        t_failed = true;
        return true;
    }
    return false;
}

void* Allocate(std::size_t size) {
    if (FailsNow()) throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
    if (FailsNow()) return nullptr;
    return std::malloc(size ? size : 1);
}

}  // namespace

FailingAllocations::FailingAllocations(size_t failAt) {
    t_made = 0;
    t_failAt = failAt;
    t_failed = false;
    t_counting = true;
}

FailingAllocations::~FailingAllocations() { t_counting = false; }

size_t FailingAllocations::Made() const { return t_made; }
bool FailingAllocations::Failed() const { return t_failed; }

}  // namespace zolbex::testing

// The test executable's allocator: malloc and free, with the failure above.
void* operator new(std::size_t size) { return zolbex::testing::Allocate(size); }
void* operator new[](std::size_t size) { return zolbex::testing::Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return zolbex::testing::AllocateOrNull(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return zolbex::testing::AllocateOrNull(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
