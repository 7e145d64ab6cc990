#include "environment/value_pairs.h"

#include "environment/pair_enumerator.h"
#include "library/bstr.h"
#include "library/errors.h"
#include "library/fold_case.h"
#include "library/variant.h"
#include "library/variant_references.h"

namespace zolbex {
namespace {

bool IsNumeric(VARTYPE type) {
    switch (type) {
        case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
        case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
        case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: case VT_BOOL:
            return true;
        default:
            return false;
    }
}

}  // namespace

HRESULT ValuePairs::Item(VARIANT* index, _clsZolbexENVValuePairA** pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = nullptr;
        RequirePointer(index);
        _clsZolbexENVValuePairA* pair = Find(*index);
        pair->AddRef();
        *pRetVal = pair;
    });
}

HRESULT ValuePairs::get_Count(LONG* pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = static_cast<LONG>(pairs_.size());
    });
}

HRESULT ValuePairs::NewEnum(IUnknown** pRetVal) {
    return Guarded([&] {
        RequirePointer(pRetVal);
        *pRetVal = NewPairEnumerator(this).Detach();
    });
}

void ValuePairs::Add(_clsZolbexENVValuePairA* pair, std::wstring_view key) {
    if (!AddOrAppendKeyed(pair, key, /*appendWhenTaken=*/false)) Raise(Error::DuplicateKey);
}

void ValuePairs::Append(_clsZolbexENVValuePairA* pair) { pairs_.emplace_back(pair); }

bool ValuePairs::AddOrAppend(_clsZolbexENVValuePairA* pair, std::wstring_view key) {
    return AddOrAppendKeyed(pair, key, /*appendWhenTaken=*/true);
}

bool ValuePairs::AddOrAppendKeyed(_clsZolbexENVValuePairA* pair, std::wstring_view key,
                                  bool appendWhenTaken) {
    auto [slot, inserted] = offsetByKey_.try_emplace(FoldCase(key), pairs_.size());
    if (!inserted) {
        if (appendWhenTaken) Append(pair);
        return false;
    }
    try {
        Append(pair);
    } catch (...) {
        offsetByKey_.erase(slot);  // keep the collection as it was
        throw;
    }
    return true;
}

bool ValuePairs::HasKey(std::wstring_view key) const { return offsetByKey_.count(FoldCase(key)) != 0; }

_clsZolbexENVValuePairA* ValuePairs::Find(const VARIANT& index) const {
    // A script variable arrives as a reference to a variant, possibly to another reference; a
    // chain that breaks off or never ends is no index at all.
    const VARIANT* source = EndOfReferences(&index);
    if (!IsReadable(source)) Raise(Error::InvalidCall);
    Variant value;
    ThrowIfFailed(VariantCopyInd(value.Put(), const_cast<VARIANT*>(source)));
    if (value.Type() == VT_BSTR) return WithKey(Bstr::ViewOf(V_BSTR(value.Get())));
    if (IsNumeric(value.Type())) return AtPosition(*value.Get());
    Raise(Error::TypeMismatch);
}

_clsZolbexENVValuePairA* ValuePairs::AtPosition(const VARIANT& number) const {
    VARIANT position;
    VariantInit(&position);
    // Fractions round as the runtime rounds them; a number beyond LONG is out of range anyway.
    if (FAILED(VariantChangeType(&position, const_cast<VARIANT*>(&number), 0, VT_I4))) Raise(Error::Subscript);
    const LONG at = V_I4(&position);
    if (at < 1 || static_cast<size_t>(at) > pairs_.size()) Raise(Error::Subscript);
    return pairs_[at - 1].Get();
}

_clsZolbexENVValuePairA* ValuePairs::WithKey(std::wstring_view key) const {
    auto found = offsetByKey_.find(FoldCase(key));
    if (found == offsetByKey_.end()) Raise(Error::InvalidCall);
    return pairs_[found->second].Get();
}

ComPtr<ValuePairs> NewValuePairs() { return MakeObject<ValuePairs>(); }

}  // namespace zolbex
