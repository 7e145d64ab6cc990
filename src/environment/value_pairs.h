// clsZolbexENVValuePairsA: an ordered, read-only (to clients) collection of name/value pairs,
// found by 1-based position or by key (the variable's name, without regard to case).
//
// The collection holds references: Item and the enumeration return the very pairs that were
// added. A pair's key is fixed when it is added; renaming the pair later does not move it.
// Lookup by position and by key both take constant time.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "library/com_ptr.h"
#include "library/dispatch_object.h"
#include "zolbex11_interfaces.h"

namespace zolbex {

class ValuePairs final : public DispatchObject<_clsZolbexENVValuePairsA> {
public:
    using PairPtr = ComPtr<_clsZolbexENVValuePairA>;

    // Automation members.
    HRESULT STDMETHODCALLTYPE Item(VARIANT* index, _clsZolbexENVValuePairA** pRetVal) override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG* pRetVal) override;
    HRESULT STDMETHODCALLTYPE NewEnum(IUnknown** pRetVal) override;

    // Library-internal filling. Add appends the pair under `key` and raises the runtime's
    // duplicate-key error (leaving the collection unchanged) when the key is taken.
    void Add(_clsZolbexENVValuePairA* pair, std::wstring_view key);
    // Appends the pair without a key: found by position and enumeration only.
    void Append(_clsZolbexENVValuePairA* pair);
    // Adds under `key` when it is free, otherwise appends without a key. Returns whether the
    // pair got the key. Listings use it so that a repeated name never makes them fail.
    bool AddOrAppend(_clsZolbexENVValuePairA* pair, std::wstring_view key);
    bool HasKey(std::wstring_view key) const;

    size_t Size() const { return pairs_.size(); }
    // The pair at 0-based `offset` (which must be below Size()).
    _clsZolbexENVValuePairA* At(size_t offset) const { return pairs_[offset].Get(); }

    // The pair an automation index selects: a numeric index (of any numeric type, by reference
    // or not) is a 1-based position, a text index is a key. Raises "Subscript out of range"
    // for a position outside 1..Count, "Invalid procedure call or argument" for an unknown key
    // or an index that cannot be read (a null or endless reference), and "Type mismatch" for an
    // index that is neither number nor text.
    _clsZolbexENVValuePairA* Find(const VARIANT& index) const;

private:
    // Adds under `key` when free; otherwise appends without a key if `appendWhenTaken`, or
    // leaves the collection unchanged. Returns whether the pair got the key.
    bool AddOrAppendKeyed(_clsZolbexENVValuePairA* pair, std::wstring_view key, bool appendWhenTaken);
    _clsZolbexENVValuePairA* AtPosition(const VARIANT& number) const;
    _clsZolbexENVValuePairA* WithKey(std::wstring_view key) const;

    std::vector<PairPtr> pairs_;
    std::unordered_map<std::wstring, size_t> offsetByKey_;  // folded key -> offset in pairs_
};

ComPtr<ValuePairs> NewValuePairs();

}  // namespace zolbex
