// The listing a scope object hands out from its List property: built on the first request and
// kept, so that one object shows one steady picture of its variables; every request hands out
// one more reference to the same collection.
#pragma once

#include <windows.h>

#include "environment/value_pairs.h"
#include "library/com_ptr.h"
#include "library/errors.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

class CachedListing {
public:
    // The whole body of a List getter. On the first call a new collection becomes the cached
    // one at once and is then filled by `fill(ValuePairs&)`: a fill that fails part way keeps
    // the pairs it added, and later calls hand out that collection without an error.
    template <class Fill>
    HRESULT HandOut(_clsZolbexENVValuePairsA** pRetVal, Fill&& fill) {
        return Guarded([&] {
            RequirePointer(pRetVal);
            *pRetVal = nullptr;
            if (!list_) {
                list_ = NewValuePairs();
                fill(*list_.Get());
            }
            *pRetVal = list_.AddRefAndGet();
        });
    }

private:
    ComPtr<ValuePairs> list_;
};

}  // namespace zolbex
