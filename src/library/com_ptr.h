// Owning interface pointer: one reference, released on destruction.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <utility>

namespace zolbex {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(T* p) : p_(p) { if (p_) p_->AddRef(); }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(p_, other.p_);
        return *this;
    }

    // Adopts a reference the caller already owns.
    static ComPtr Attach(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    T* Detach() { return std::exchange(p_, nullptr); }
    void Reset() {
        if (T* p = std::exchange(p_, nullptr)) p->Release();
    }

    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: releases what is held and hands out the slot.
    T** Put() {
        Reset();
        return &p_;
    }

    // Hands out a new reference to the caller (for [out, retval] results).
    T* AddRefAndGet() const {
        if (p_) p_->AddRef();
        return p_;
    }

    template <class U>
    ComPtr<U> As(REFIID iid) const {
        ComPtr<U> result;
        if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(result.Put()));
        return result;
    }

private:
    T* p_ = nullptr;
};

}  // namespace zolbex
