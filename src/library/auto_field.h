// An object field that creates its object on the first read that finds it empty and keeps it
// until it is set again (setting nothing clears it).
#pragma once

#include "library/com_ptr.h"

namespace zolbex {

template <class I>
class AutoCreatedField {
public:
    // The held object, created by `create` (returning ComPtr<I>) when there is none; the caller
    // receives its own reference.
    template <class Create>
    I* Get(Create&& create) {
        if (!object_) object_ = create();
        return object_.AddRefAndGet();
    }
    void Set(I* object) { object_ = ComPtr<I>(object); }
    void Clear() { object_.Reset(); }
    bool Empty() const { return !object_; }

private:
    ComPtr<I> object_;
};

}  // namespace zolbex
