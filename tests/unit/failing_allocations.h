// Makes the C++ allocator of the calling thread fail on purpose: the n-th allocation from now on
// throws std::bad_alloc (the nothrow forms return null). Used to show that code at the library's
// outer boundary turns exhaustion into an error status and releases what it held.
#pragma once

#include <cstddef>

namespace zolbex::testing {

class FailingAllocations {
public:
    // Fails the allocation numbered `failAt` (1 = the next one); 0 counts without failing.
    explicit FailingAllocations(size_t failAt);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations&) = delete;
    FailingAllocations& operator=(const FailingAllocations&) = delete;

    size_t Made() const;  // allocations asked for since construction
    bool Failed() const;  // whether the chosen one was reached
};

}  // namespace zolbex::testing
