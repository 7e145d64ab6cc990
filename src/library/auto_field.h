// An object field that creates its object on the first read that finds it empty and keeps it
// until it is set again (setting Nothing clears it). It holds the bodies of the field's three
// accessors, so a class writes each of them as one line: the get, and the let and the set,
// which both assign the object.
#pragma once

#include <windows.h>

#include "library/com_ptr.h"
#include "library/errors.h"

namespace zolbex {

template <class I>
class AutoCreatedField {
public:
    // The get: the held object, made by `create` (returning ComPtr<I>) when there is none; the
    // caller receives its own reference.
    template <class Create>
    HRESULT Get(I** pRetVal, Create&& create) {
        return Guarded([&] {
            RequirePointer(pRetVal);
            *pRetVal = nullptr;
            if (!object_) object_ = create();
            *pRetVal = object_.AddRefAndGet();
        });
    }
    // The let and the set.
    HRESULT Assign(I* object) {
        object_ = ComPtr<I>(object);
        return S_OK;
    }
    void Clear() { object_.Reset(); }

private:
    ComPtr<I> object_;
};

}  // namespace zolbex
