// Owning automation text (BSTR). A null BSTR and an empty one are the same text.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace zolbex {

class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text) : b_(Allocate(text)) {}
    Bstr(const Bstr& other) : Bstr(other.View()) {}
    Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    ~Bstr() { SysFreeString(b_); }

    Bstr& operator=(Bstr other) noexcept {
        std::swap(b_, other.b_);
        return *this;
    }

    // Adopts a BSTR the caller owns.
    static Bstr Attach(BSTR b) {
        Bstr result;
        result.b_ = b;
        return result;
    }
    // A new copy of any BSTR (the argument stays the caller's).
    static Bstr Copy(BSTR b) { return Bstr(ViewOf(b)); }

    BSTR Detach() { return std::exchange(b_, nullptr); }
    // The held text's slot for an [in, out] argument: the callee may replace the text (freeing
    // the one it replaces), and this object frees whatever it holds at the end.
    BSTR* InOut() { return &b_; }
    BSTR Get() const { return b_; }
    BSTR* Put() {
        SysFreeString(std::exchange(b_, nullptr));
        return &b_;
    }

    std::wstring_view View() const { return ViewOf(b_); }
    std::wstring Str() const { return std::wstring(View()); }
    UINT Length() const { return SysStringLen(b_); }
    bool Empty() const { return Length() == 0; }

    static std::wstring_view ViewOf(BSTR b) { return b ? std::wstring_view(b, SysStringLen(b)) : std::wstring_view(); }

private:
    static BSTR Allocate(std::wstring_view text) {
        BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!b) throw std::bad_alloc();
        return b;
    }

    BSTR b_ = nullptr;
};

// A freshly allocated BSTR for an [out] result; throws on exhaustion.
inline BSTR NewBstr(std::wstring_view text) { return Bstr(text).Detach(); }

}  // namespace zolbex
