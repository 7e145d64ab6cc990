#include "environment/pair_enumerator.h"

#include <atomic>

#include "environment/value_pairs.h"
#include "library/module.h"

namespace zolbex {
namespace {

class PairEnumerator final : public IEnumVARIANT {
public:
    PairEnumerator(ValuePairs* pairs, size_t position) : pairs_(pairs), position_(position) {
        module::ObjectCreated();
    }
    PairEnumerator(const PairEnumerator&) = delete;
    PairEnumerator& operator=(const PairEnumerator&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid != IID_IUnknown && iid != IID_IEnumVARIANT) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = static_cast<IEnumVARIANT*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override {
        if (!items || (!fetched && wanted != 1)) return E_INVALIDARG;
        ULONG count = 0;
        for (; count < wanted && position_ < pairs_->Size(); ++count, ++position_) {
            VariantInit(&items[count]);
            V_VT(&items[count]) = VT_DISPATCH;
            V_DISPATCH(&items[count]) = pairs_->At(position_);
            V_DISPATCH(&items[count])->AddRef();
        }
        if (fetched) *fetched = count;
        return count == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = pairs_->Size() - position_;
        if (count > left) {
            position_ = pairs_->Size();
            return S_FALSE;
        }
        position_ += count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (!copy) return E_POINTER;
        *copy = nullptr;
        try {
            *copy = NewPairEnumerator(pairs_.Get(), position_).Detach();
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;
        }
    }

private:
    ~PairEnumerator() { module::ObjectDestroyed(); }

    ComPtr<ValuePairs> pairs_;
    size_t position_;
    std::atomic<ULONG> references_{0};
};

}  // namespace

ComPtr<IEnumVARIANT> NewPairEnumerator(ValuePairs* pairs, size_t position) {
    return ComPtr<IEnumVARIANT>(new PairEnumerator(pairs, position));
}

}  // namespace zolbex
