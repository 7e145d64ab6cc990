// Cost of finding a pair in a collection of 10,000, by position and by name, at the start,
// the middle and the end. Lookup takes constant time, so the three positions cost the same.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "environment/value_pair.h"
#include "environment/value_pairs.h"
#include "library/variant.h"

using namespace zolbex;

namespace {

constexpr int kPairs = 10000;
constexpr long kCalls = 200000;

std::wstring NameAt(int position) { return L"Variable_" + std::to_wstring(position); }

// Nanoseconds per Item call with `index`, through the vtable.
double ItemCost(ValuePairs* pairs, VARIANT* index) {
    return bench::NanosecondsPerCall(kCalls, [&](long) {
        _clsZolbexENVValuePairA* pair = nullptr;
        if (SUCCEEDED(pairs->Item(index, &pair))) pair->Release();
    });
}

}  // namespace

int main() {
    ComPtr<ValuePairs> pairs = NewValuePairs();
    for (int position = 1; position <= kPairs; ++position)
        pairs->Add(NewValuePair(NameAt(position), L"value").Get(), NameAt(position));

    std::printf("Item over a collection of %d pairs\n", kPairs);
    for (int position : {1, kPairs / 2, kPairs}) {
        Variant number;
        V_VT(number.Get()) = VT_I4;
        V_I4(number.Get()) = position;
        // In lower case, so every call folds the key.
        std::wstring lower = NameAt(position);
        lower[0] = L'v';
        Variant key;
        V_VT(key.Get()) = VT_BSTR;
        V_BSTR(key.Get()) = SysAllocString(lower.c_str());

        char what[64];
        std::snprintf(what, sizeof what, "Item(%d) by position", position);
        bench::Report(what, ItemCost(pairs.Get(), number.Get()));
        std::snprintf(what, sizeof what, "Item(\"variable_%d\") by key", position);
        bench::Report(what, ItemCost(pairs.Get(), key.Get()));
    }
    return 0;
}
