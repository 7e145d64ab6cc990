// The process scope: reading and setting variables of this process (any length, any
// character), and the cached listing with its per-drive entries and repeated names.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "com_test_support.h"
#include "environment/value_pairs.h"
#include "forwarding_platform.h"
#include "library/class_table.h"
#include "library/errors.h"
#include "zolbex11_interfaces.h"

namespace zolbex {
namespace {

using testing::ComTest;
using Scope = ComPtr<_clsZolbexENVProcessA>;
using List = ComPtr<_clsZolbexENVValuePairsA>;

Scope NewScope() {
    Scope scope = NewProcessScope().As<_clsZolbexENVProcessA>(__uuidof(_clsZolbexENVProcessA));
    EXPECT_TRUE(scope);
    return scope;
}

std::wstring Read(_clsZolbexENVProcessA* scope, const std::wstring& name) {
    Bstr value;
    EXPECT_EQ(scope->get_Environment(Bstr(name).Get(), value.Put()), S_OK) << "reading";
    return value.Str();
}

void Write(_clsZolbexENVProcessA* scope, const std::wstring& name, const std::wstring& value) {
    EXPECT_EQ(scope->put_Environment(Bstr(name).Get(), Bstr(value).Get()), S_OK) << "setting";
}

List ListOf(_clsZolbexENVProcessA* scope) {
    List list;
    EXPECT_EQ(scope->get_List(list.Put()), S_OK);
    EXPECT_TRUE(list);
    return list;
}

LONG CountOf(_clsZolbexENVValuePairsA* list) {
    LONG count = -1;
    EXPECT_EQ(list->get_Count(&count), S_OK);
    return count;
}

struct Found {
    long error = 0;
    std::wstring variable;
    std::wstring value;
};

Found Lookup(_clsZolbexENVValuePairsA* list, Variant index) {
    Found found;
    ComPtr<_clsZolbexENVValuePairA> pair;
    HRESULT hr = list->Item(index.Get(), pair.Put());
    if (FAILED(hr)) {
        found.error = testing::LastError(hr).number;
        return found;
    }
    Bstr text;
    pair->get_Variable(text.Put());
    found.variable = text.Str();
    pair->get_Value(text.Put());
    found.value = text.Str();
    return found;
}

Found Lookup(_clsZolbexENVValuePairsA* list, const std::wstring& key) {
    return Lookup(list, testing::Text(key.c_str()));
}

// The value as this process sees it, read without the library.
std::wstring ProcessValue(const std::wstring& name) {
    DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0) return L"<missing>";
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
    return value;
}

// A PATH-like text of at least `length` characters.
std::wstring LongPath(size_t length) {
    std::wstring path;
    for (int i = 0; path.size() < length; ++i) path += L"C:\\Programs\\Tool" + std::to_wstring(i) + L"\\bin;";
    return path;
}

class ProcessScopeTest : public ComTest {
protected:
    void TearDown() override {
        for (const std::wstring& name : set_) SetEnvironmentVariableW(name.c_str(), nullptr);
        ComTest::TearDown();
    }
    // A variable name of this test, removed from the process when the test ends.
    std::wstring Name(const std::wstring& suffix) {
        set_.push_back(L"ZOLBEX11_TEST_" + suffix);
        return set_.back();
    }

private:
    std::vector<std::wstring> set_;
};

TEST_F(ProcessScopeTest, ValuesOfAnyLengthAndCharacterRoundTrip) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {Name(L"PATH255"), std::wstring(255, L'x')},
        {Name(L"PATH300"), LongPath(300)},
        {Name(L"PATH5000"), LongPath(5000)},
        {Name(L"EQUALS"), L"B=C"},
        {Name(L"EMPTY"), L""},
        // Characters outside every ANSI code page, including one beyond the BMP.
        {Name(L"\u0950\U00010348"), L"\u4E2D\u0416\U0001F600\u20AC"},
    };
    Scope scope = NewScope();
    for (const auto& [name, value] : cases) {
        Write(scope.Get(), name, value);
        EXPECT_EQ(ProcessValue(name), value) << "set in the process";
        EXPECT_EQ(Read(scope.Get(), name), value) << "read back whole";
    }
}

TEST_F(ProcessScopeTest, MissingVariableReadsAsEmptyText) {
    Scope scope = NewScope();
    const std::wstring name = Name(L"NEVER_SET");
    Bstr value(L"stale");
    EXPECT_EQ(scope->get_Environment(Bstr(name).Get(), value.Put()), S_OK);
    EXPECT_TRUE(value.Empty());
}

TEST_F(ProcessScopeTest, ListShowsEveryVariableUnderItsName) {
    const std::wstring equals = Name(L"A"), empty = Name(L"NAME"), wide = Name(L"\u0416\u4E2D");
    SetEnvironmentVariableW(equals.c_str(), L"B=C");
    SetEnvironmentVariableW(empty.c_str(), L"");
    SetEnvironmentVariableW(wide.c_str(), L"\U0001F600");

    List list = ListOf(NewScope().Get());
    ASSERT_TRUE(list);
    EXPECT_EQ(Lookup(list.Get(), equals).value, L"B=C");
    Found named = Lookup(list.Get(), L"zolbex11_test_name");
    EXPECT_EQ(named.error, 0);
    EXPECT_EQ(named.variable, empty);
    EXPECT_EQ(named.value, L"");
    EXPECT_EQ(Lookup(list.Get(), L"ZOLBEX11_TEST_\u0436\u4E2D").value, L"\U0001F600");
    EXPECT_EQ(Lookup(list.Get(), L"path").value, ProcessValue(L"PATH"));

    // Position and enumeration agree with each other.
    Found first = Lookup(list.Get(), testing::Long(1));
    Found last = Lookup(list.Get(), testing::Long(CountOf(list.Get())));
    EXPECT_EQ(first.error, 0);
    EXPECT_EQ(last.error, 0);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(list->NewEnum(unknown.Put()), S_OK);
    auto items = unknown.As<IEnumVARIANT>(IID_IEnumVARIANT);
    ASSERT_TRUE(items);
    Variant item;
    ASSERT_EQ(items->Next(1, item.Put(), nullptr), S_OK);
    Bstr text;
    auto pair = ComPtr<IDispatch>(V_DISPATCH(item.Get())).As<_clsZolbexENVValuePairA>(__uuidof(_clsZolbexENVValuePairA));
    ASSERT_TRUE(pair);
    pair->get_Variable(text.Put());
    EXPECT_EQ(text.Str(), first.variable);
}

TEST_F(ProcessScopeTest, ListIsTakenOncePerObject) {
    Scope scope = NewScope();
    List before = ListOf(scope.Get());
    ASSERT_TRUE(before);
    const LONG count = CountOf(before.Get());

    const std::wstring added = Name(L"ADDED_LATER");
    Write(scope.Get(), added, L"new");
    List again = ListOf(scope.Get());
    ASSERT_EQ(again.Get(), before.Get()) << "the same collection";
    EXPECT_EQ(CountOf(again.Get()), count);
    EXPECT_EQ(Lookup(again.Get(), added).error, kInvalidProcedureCall);

    List fresh = ListOf(NewScope().Get());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(Lookup(fresh.Get(), added).value, L"new") << "a new object sees the new variable";

    // The collection outlives the object that built it.
    scope.Reset();
    EXPECT_EQ(CountOf(before.Get()), count);
}

// Serves a fixed environment block; everything else goes to the real platform.
class FixedEnvironment : public testing::ForwardingPlatform {
public:
    explicit FixedEnvironment(std::vector<std::wstring> entries) : entries_(std::move(entries)) {}
    std::vector<std::wstring> EnvironmentEntries() override { return entries_; }

private:
    std::vector<std::wstring> entries_;
};

TEST_F(ProcessScopeTest, DriveEntriesAndRepeatedNamesAreListedWithoutFailing) {
    FixedEnvironment block({L"=C:=C:\\work", L"=D:=D:\\", L"=ExitCode=00000000", L"PATH=C:\\A;C:\\B",
                            L"A=B=C", L"NAME=", L"NOSEPARATOR", L"=", L"Path=second", L"=c:=again"});
    platform::ScopedPlatform substitute(block);

    List list = ListOf(NewScope().Get());
    ASSERT_TRUE(list);
    const std::pair<std::wstring, std::wstring> expected[] = {
        {L"=C:", L"C:\\work"}, {L"=D:", L"D:\\"},  {L"=ExitCode", L"00000000"}, {L"PATH", L"C:\\A;C:\\B"},
        {L"A", L"B=C"},        {L"NAME", L""},     {L"Path", L"second"},        {L"=c:", L"again"},
    };
    ASSERT_EQ(CountOf(list.Get()), LONG(std::size(expected)));
    for (LONG position = 1; position <= LONG(std::size(expected)); ++position) {
        Found found = Lookup(list.Get(), testing::Long(position));
        EXPECT_EQ(found.variable, expected[position - 1].first) << position;
        EXPECT_EQ(found.value, expected[position - 1].second) << position;
    }
    // By key, a repeated name finds its first entry; the drive entries under their own names.
    EXPECT_EQ(Lookup(list.Get(), L"path").value, L"C:\\A;C:\\B");
    EXPECT_EQ(Lookup(list.Get(), L"=c:").value, L"C:\\work");
    EXPECT_EQ(Lookup(list.Get(), L"=d:").value, L"D:\\");
    EXPECT_EQ(Lookup(list.Get(), L"").error, kInvalidProcedureCall) << "no entry has an empty name";
}

TEST_F(ProcessScopeTest, LateBoundEnvironmentAndList) {
    ComPtr<IDispatch> scope = NewProcessScope();
    const std::wstring name = Name(L"LATE_\u4E2D");
    const std::wstring value = LongPath(400) + L"\U0001F600";

    // Environment(name) = value, as a script sends it: the new value first, as DISPID_PROPERTYPUT.
    Variant arguments[] = {testing::Text(value.c_str()), testing::Text(name.c_str())};
    VARIANTARG raw[] = {*arguments[0].Get(), *arguments[1].Get()};
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{raw, &putId, 2, 1};
    ASSERT_EQ(scope->Invoke(testing::IdOf(scope.Get(), L"environment"), IID_NULL, LOCALE_USER_DEFAULT,
                            DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr),
              S_OK);

    std::vector<Variant> get;
    get.push_back(testing::Text(name.c_str()));
    auto read = testing::GetProperty(scope.Get(), L"Environment", std::move(get));
    ASSERT_EQ(read.hr, S_OK);
    EXPECT_EQ(testing::Str(read.value), value);

    auto list = testing::GetProperty(scope.Get(), L"List");
    ASSERT_EQ(list.hr, S_OK);
    ASSERT_EQ(list.value.Type(), VT_DISPATCH);
    Variant key = testing::Text(name.c_str());
    std::vector<Variant> index;
    index.push_back(testing::RefTo(key.Get()));
    auto item = testing::CallMethod(V_DISPATCH(list.value.Get()), L"Item", std::move(index));
    ASSERT_EQ(item.hr, S_OK);
    EXPECT_EQ(testing::Str(testing::GetProperty(V_DISPATCH(item.value.Get()), L"Value").value), value);
}

}  // namespace
}  // namespace zolbex
