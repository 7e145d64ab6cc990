// The pair collection: positions, keys without regard to case, references not copies, errors,
// enumeration; through the C++ vtable and late-bound through IDispatch.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "com_test_support.h"
#include "environment/value_pair.h"
#include "environment/value_pairs.h"
#include "library/errors.h"

namespace zolbex {
namespace {

using testing::ComTest;
using PairPtr = ComPtr<_clsZolbexENVValuePairA>;

std::wstring VariableOf(_clsZolbexENVValuePairA* pair) {
    Bstr text;
    EXPECT_EQ(pair->get_Variable(text.Put()), S_OK);
    return text.Str();
}

std::wstring ValueOf(_clsZolbexENVValuePairA* pair) {
    Bstr text;
    EXPECT_EQ(pair->get_Value(text.Put()), S_OK);
    return text.Str();
}

// Item through the vtable: the pair, or null with the error number in *error.
PairPtr ItemAt(ValuePairs* pairs, VARIANT index, long* error = nullptr) {
    PairPtr pair;
    HRESULT hr = pairs->Item(&index, pair.Put());
    if (error) *error = FAILED(hr) ? testing::LastError(hr).number : 0;
    return pair;
}

class ValuePairsTest : public ComTest {
protected:
    // PATH, TEMP, "1" and a Cyrillic name, each keyed by its own name.
    void SetUp() override {
        ComTest::SetUp();
        pairs_ = NewValuePairs();
        for (auto [name, value] : std::vector<std::pair<const wchar_t*, const wchar_t*>>{
                 {L"PATH", L"C:\\A;C:\\B"}, {L"TEMP", L"C:\\T"}, {L"1", L"one"},
                 {L"\u0436\u0443\u043A", L"\U0001F600"}}) {
            added_.push_back(NewValuePair(name, value));
            pairs_->Add(added_.back().Get(), name);
        }
    }
    void TearDown() override {
        added_.clear();
        pairs_.Reset();
        ComTest::TearDown();
    }

    ComPtr<ValuePairs> pairs_;
    std::vector<PairPtr> added_;
};

TEST_F(ValuePairsTest, IndexSelectsByPositionWhenNumericAndByKeyWhenText) {
    LONG three = 3;
    Variant textVariable = testing::Text(L"temp");
    Variant numberVariable = testing::Long(4);
    struct Case {
        const char* what;
        Variant index;
        size_t expected;  // offset into added_
    };
    Case cases[] = {
        {"first position", testing::Long(1), 0},
        {"last position", testing::Long(4), 3},
        {"16-bit position", testing::Short(2), 1},
        {"double position", testing::Double(2.0), 1},
        {"fraction rounds", testing::Double(2.4), 1},
        {"position by reference", testing::RefToLong(&three), 2},
        {"variant reference to a number", testing::RefTo(numberVariable.Get()), 3},
        {"key in lower case", testing::Text(L"path"), 0},
        {"key in mixed case", testing::Text(L"Temp"), 1},
        {"text 1 is a key, not a position", testing::Text(L"1"), 2},
        {"variant reference to a key", testing::RefTo(textVariable.Get()), 1},
        {"key outside the code page, other case", testing::Text(L"\u0416\u0423\u041A"), 3},
    };
    for (Case& c : cases) {
        long error = 0;
        PairPtr pair = ItemAt(pairs_.Get(), *c.index.Get(), &error);
        ASSERT_EQ(error, 0) << c.what;
        EXPECT_EQ(pair.Get(), added_[c.expected].Get()) << c.what;
    }
    EXPECT_EQ(three, 3) << "the index is not changed";
}

TEST_F(ValuePairsTest, BadIndexRaisesTheRuntimeErrors) {
    struct Case {
        const char* what;
        Variant index;
        long number;
    };
    Case cases[] = {
        {"position 0", testing::Long(0), kSubscriptOutOfRange},
        {"position past the end", testing::Long(5), kSubscriptOutOfRange},
        {"negative position", testing::Long(-1), kSubscriptOutOfRange},
        {"position beyond LONG", testing::Double(1e12), kSubscriptOutOfRange},
        {"True is -1", testing::Bool(true), kSubscriptOutOfRange},
        {"missing key", testing::Text(L"NOSUCHNAME"), kInvalidProcedureCall},
        {"empty key", testing::Text(L""), kInvalidProcedureCall},
        {"text 2 is a key nobody has", testing::Text(L"2"), kInvalidProcedureCall},
        {"neither number nor text", Variant(), kTypeMismatch},
    };
    for (Case& c : cases) {
        long error = 0;
        PairPtr pair = ItemAt(pairs_.Get(), *c.index.Get(), &error);
        EXPECT_EQ(error, c.number) << c.what;
        EXPECT_FALSE(pair) << c.what;
    }
    // The runtime's own texts come with the numbers.
    VARIANT outside = *testing::Long(99).Get();
    PairPtr none;
    HRESULT hr = pairs_->Item(&outside, none.Put());
    EXPECT_EQ(hr, ErrorCodeOf(kSubscriptOutOfRange));
    EXPECT_EQ(testing::LastError(hr).description, L"Subscript out of range");
}

TEST_F(ValuePairsTest, HoldsReferencesAndKeepsTheKeyAfterRenaming) {
    PairPtr first = ItemAt(pairs_.Get(), *testing::Text(L"PATH").Get());
    PairPtr again = ItemAt(pairs_.Get(), *testing::Long(1).Get());
    ASSERT_EQ(first.Get(), again.Get());

    ASSERT_EQ(first->put_Value(Bstr(L"changed").Get()), S_OK);
    EXPECT_EQ(ValueOf(again.Get()), L"changed");
    EXPECT_EQ(ValueOf(added_[0].Get()), L"changed");

    ASSERT_EQ(first->put_Variable(Bstr(L"RENAMED").Get()), S_OK);
    PairPtr byOldKey = ItemAt(pairs_.Get(), *testing::Text(L"path").Get());
    EXPECT_EQ(byOldKey.Get(), first.Get()) << "the old key still finds the pair";
    EXPECT_EQ(VariableOf(byOldKey.Get()), L"RENAMED");
    long error = 0;
    ItemAt(pairs_.Get(), *testing::Text(L"RENAMED").Get(), &error);
    EXPECT_EQ(error, kInvalidProcedureCall) << "the new name is no key";
}

TEST_F(ValuePairsTest, DuplicateKeyIsRefusedOrAppendedWithoutKey) {
    PairPtr twin = NewValuePair(L"Path", L"twin");
    try {
        pairs_->Add(twin.Get(), L"pATH");
        ADD_FAILURE() << "a duplicate key was accepted";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.Number(), kDuplicateKey);
    }
    EXPECT_EQ(pairs_->Size(), 4u) << "a refused pair leaves the collection as it was";
    EXPECT_TRUE(pairs_->HasKey(L"path"));
    EXPECT_FALSE(pairs_->HasKey(L"twin"));

    EXPECT_FALSE(pairs_->AddOrAppend(twin.Get(), L"Path"));
    EXPECT_TRUE(pairs_->AddOrAppend(NewValuePair(L"NEW", L"n").Get(), L"NEW"));
    EXPECT_EQ(pairs_->Size(), 6u);
    EXPECT_EQ(ItemAt(pairs_.Get(), *testing::Long(5).Get()).Get(), twin.Get());
    EXPECT_EQ(ItemAt(pairs_.Get(), *testing::Text(L"path").Get()).Get(), added_[0].Get());
    EXPECT_EQ(ValueOf(ItemAt(pairs_.Get(), *testing::Text(L"new").Get()).Get()), L"n");
}

// Drains an enumerator one item at a time.
std::vector<IDispatch*> Drain(IEnumVARIANT* items) {
    std::vector<IDispatch*> seen;
    for (;;) {
        Variant item;
        if (items->Next(1, item.Put(), nullptr) != S_OK) break;
        EXPECT_EQ(item.Type(), VT_DISPATCH);
        seen.push_back(V_DISPATCH(item.Get()));  // the collection keeps it alive
    }
    return seen;
}

ComPtr<IEnumVARIANT> EnumeratorOf(_clsZolbexENVValuePairsA* pairs) {
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(pairs->NewEnum(unknown.Put()), S_OK);
    ComPtr<IEnumVARIANT> items = unknown.As<IEnumVARIANT>(IID_IEnumVARIANT);
    EXPECT_TRUE(items);
    return items;
}

TEST_F(ValuePairsTest, EnumerationYieldsThePairsInPositionOrder) {
    ComPtr<IEnumVARIANT> items = EnumeratorOf(pairs_.Get());
    std::vector<IDispatch*> expected;
    for (auto& pair : added_) expected.push_back(pair.Get());
    EXPECT_EQ(Drain(items.Get()), expected);

    // In chunks: a short last chunk reports how many it fetched.
    ASSERT_EQ(items->Reset(), S_OK);
    VARIANT chunk[3];
    ULONG fetched = 0;
    EXPECT_EQ(items->Next(3, chunk, &fetched), S_OK);
    EXPECT_EQ(fetched, 3u);
    for (VARIANT& v : chunk) VariantClear(&v);
    EXPECT_EQ(items->Next(3, chunk, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 1u);
    EXPECT_EQ(V_DISPATCH(&chunk[0]), added_[3].Get());
    VariantClear(&chunk[0]);

    // Without a count pointer the result tells whether every element asked for came.
    ASSERT_EQ(items->Reset(), S_OK);
    EXPECT_EQ(items->Next(2, chunk, nullptr), S_OK);
    EXPECT_EQ(V_DISPATCH(&chunk[1]), added_[1].Get());
    for (int i = 0; i < 2; ++i) VariantClear(&chunk[i]);
    EXPECT_EQ(items->Next(3, chunk, nullptr), S_FALSE);
    EXPECT_EQ(V_DISPATCH(&chunk[1]), added_[3].Get());
    for (int i = 0; i < 2; ++i) VariantClear(&chunk[i]);

    // Skip and Clone: the copy starts where the original stands and moves on its own.
    ASSERT_EQ(items->Reset(), S_OK);
    EXPECT_EQ(items->Skip(2), S_OK);
    ComPtr<IEnumVARIANT> copy;
    ASSERT_EQ(items->Clone(copy.Put()), S_OK);
    EXPECT_EQ(Drain(copy.Get()), (std::vector<IDispatch*>{added_[2].Get(), added_[3].Get()}));
    EXPECT_EQ(Drain(items.Get()).size(), 2u);
    ASSERT_EQ(items->Reset(), S_OK);
    EXPECT_EQ(items->Skip(5), S_FALSE);
    EXPECT_TRUE(Drain(items.Get()).empty());
}

class EmptyValuePairsTest : public ComTest {};

TEST_F(EmptyValuePairsTest, HasNoPairs) {
    ComPtr<ValuePairs> pairs = NewValuePairs();
    LONG count = -1;
    EXPECT_EQ(pairs->get_Count(&count), S_OK);
    EXPECT_EQ(count, 0);
    long error = 0;
    ItemAt(pairs.Get(), *testing::Long(1).Get(), &error);
    EXPECT_EQ(error, kSubscriptOutOfRange);
    ItemAt(pairs.Get(), *testing::Text(L"PATH").Get(), &error);
    EXPECT_EQ(error, kInvalidProcedureCall);
    EXPECT_TRUE(Drain(EnumeratorOf(pairs.Get()).Get()).empty());
}

TEST_F(ValuePairsTest, EnumeratorKeepsTheCollectionAlive) {
    ComPtr<IEnumVARIANT> items = EnumeratorOf(pairs_.Get());
    pairs_.Reset();
    added_.clear();
    EXPECT_EQ(Drain(items.Get()).size(), 4u);
}

// ---- late bound ------------------------------------------------------------------------

IDispatch* AsDispatch(ValuePairs* pairs) { return static_cast<_clsZolbexENVValuePairsA*>(pairs); }

testing::CallResult InvokeById(IDispatch* object, DISPID id, WORD flags, VARIANT* arg) {
    testing::CallResult result;
    DISPPARAMS params{arg, nullptr, arg ? 1u : 0u, 0};
    result.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                               result.value.Put(), &result.exception, &result.argError);
    return result;
}

TEST_F(ValuePairsTest, LateBoundItemCountAndEnumeration) {
    IDispatch* pairs = AsDispatch(pairs_.Get());

    auto count = testing::GetProperty(pairs, L"Count");
    ASSERT_EQ(count.hr, S_OK);
    EXPECT_EQ(testing::Str(count.value), L"4");

    // The default member with a script variable (by reference) as index, which stays as it was.
    Variant variable = testing::Text(L"Temp");
    Variant byRef = testing::RefTo(variable.Get());
    auto item = InvokeById(pairs, DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, byRef.Get());
    ASSERT_EQ(item.hr, S_OK);
    ASSERT_EQ(item.value.Type(), VT_DISPATCH);
    EXPECT_EQ(testing::Str(testing::GetProperty(V_DISPATCH(item.value.Get()), L"Value").value), L"C:\\T");
    EXPECT_EQ(variable.Type(), VT_BSTR);
    EXPECT_EQ(Bstr::ViewOf(V_BSTR(variable.Get())), L"Temp");

    std::vector<Variant> position;
    position.push_back(testing::Short(4));
    auto byName = testing::CallMethod(pairs, L"item", std::move(position));
    ASSERT_EQ(byName.hr, S_OK);
    EXPECT_EQ(V_DISPATCH(byName.value.Get()), added_[3].Get());

    auto enumerator = InvokeById(pairs, DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, nullptr);
    ASSERT_EQ(enumerator.hr, S_OK);
    ASSERT_TRUE(enumerator.value.Type() == VT_UNKNOWN || enumerator.value.Type() == VT_DISPATCH);
    ComPtr<IEnumVARIANT> items =
        ComPtr<IUnknown>(V_UNKNOWN(enumerator.value.Get())).As<IEnumVARIANT>(IID_IEnumVARIANT);
    ASSERT_TRUE(items);
    EXPECT_EQ(Drain(items.Get()).size(), 4u);
}

TEST_F(ValuePairsTest, LateBoundErrorsCarryNumberAndText) {
    struct Case {
        Variant index;
        long number;
        const wchar_t* description;
    };
    Case cases[] = {
        {testing::Long(0), kSubscriptOutOfRange, L"Subscript out of range"},
        {testing::Text(L"missing"), kInvalidProcedureCall, L"Invalid procedure call or argument"},
    };
    for (Case& c : cases) {
        auto result = InvokeById(AsDispatch(pairs_.Get()), DISPID_VALUE,
                                 DISPATCH_METHOD | DISPATCH_PROPERTYGET, c.index.Get());
        ASSERT_EQ(result.hr, DISP_E_EXCEPTION);
        testing::ErrorSeen error = testing::ErrorOf(result);
        EXPECT_EQ(error.number, c.number);
        EXPECT_EQ(error.description, c.description);
    }
}

}  // namespace
}  // namespace zolbex
