// Owning VARIANT: cleared on destruction.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace zolbex {

class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : Variant() { std::swap(v_, other.v_); }
    Variant& operator=(Variant&& other) noexcept {
        std::swap(v_, other.v_);
        return *this;
    }
    ~Variant() { VariantClear(&v_); }

    VARIANT* Get() { return &v_; }
    const VARIANT* Get() const { return &v_; }
    VARIANT* operator->() { return &v_; }
    const VARIANT* operator->() const { return &v_; }
    VARTYPE Type() const { return V_VT(&v_); }

    // Clears what is held and hands out the storage for an [out] argument.
    VARIANT* Put() {
        VariantClear(&v_);
        return &v_;
    }
    // Moves the content out to a caller-owned VARIANT (which must be empty or cleared).
    void Detach(VARIANT* out) {
        *out = v_;
        VariantInit(&v_);
    }

private:
    VARIANT v_;
};

}  // namespace zolbex
