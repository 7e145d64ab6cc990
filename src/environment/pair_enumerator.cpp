#include "environment/pair_enumerator.h"

#include "environment/value_pairs.h"
#include "library/com_object.h"
#include "library/errors.h"

namespace zolbex {
namespace {

class PairEnumerator final : public ComObject<IEnumVARIANT> {
public:
    PairEnumerator(ValuePairs* pairs, size_t position) : pairs_(pairs), position_(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override {
        // A null count is allowed for any number of elements: the result alone tells whether
        // all of them came.
        if (!items && wanted) return E_INVALIDARG;
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
        return Guarded(ErrorObject::LeaveAlone,
                       [&] { *copy = NewPairEnumerator(pairs_.Get(), position_).Detach(); });
    }

private:
    ComPtr<ValuePairs> pairs_;
    size_t position_;
};

}  // namespace

ComPtr<IEnumVARIANT> NewPairEnumerator(ValuePairs* pairs, size_t position) {
    return ComPtr<IEnumVARIANT>(MakeObject<PairEnumerator>(pairs, position).Get());
}

}  // namespace zolbex
