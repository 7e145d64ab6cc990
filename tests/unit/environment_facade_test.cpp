// The environment members of the global object: a new scope per call chosen by style, the
// leading-reference resolution, the settings-store switch and records, the one error convention
// (a message box and a normal, empty return), ZLBEnvironGet's reports for an unregistered
// library, and the per-thread expansion setting.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "environment_test_support.h"
#include "library/class_table.h"
#include "library/expansion_setting.h"
#include "zolbex11_interfaces.h"

namespace zolbex::testing {
namespace {

using RunTime = ComPtr<_clsZolbex11RunTimeA>;

constexpr LONG kProcess = 0, kUser = 1, kMachine = 2, kNoScope = 3;
constexpr wchar_t kV[] = L"ZOLBEX11_TEST_V";
constexpr wchar_t kA[] = L"ZOLBEX11_TEST_A";
constexpr wchar_t kB[] = L"ZOLBEX11_TEST_B";
constexpr wchar_t kW[] = L"ZOLBEX11_TEST_W";
const wchar_t* const kNames[] = {kV, kA, kB, kW};

constexpr UINT kInformation = 0x40, kExclamation = 0x30;

ValueAt User(const std::wstring& name) { return {HKEY_CURRENT_USER, kUserEnvironment, name}; }
ValueAt Machine(const std::wstring& name) { return {HKEY_LOCAL_MACHINE, kMachineEnvironment, name}; }

std::optional<std::wstring> TextAt(const ValueAt& at) {
    auto stored = GetText(at);
    if (!stored) return std::nullopt;
    return stored->text;
}

std::optional<std::wstring> ProcessVariable(const std::wstring& name) {
    DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (size == 0) return std::nullopt;
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name.c_str(), value.data(), size));
    return value;
}

class EnvironmentFacadeTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        std::vector<ValueAt> values{SwitchValue()};
        for (const wchar_t* name : kNames) {
            values.push_back(User(name));
            values.push_back(Machine(name));
            values.push_back(RecordOf(name));
        }
        saved_.emplace(values);
        for (const ValueAt& at : values) RemoveValue(at);
        substitute_.emplace(platform_);
        runtime_ = Create<_clsZolbex11RunTimeA>(NewRunTime);
    }
    void TearDown() override {
        runtime_.Reset();
        substitute_.reset();
        saved_.reset();
        for (const wchar_t* name : kNames) SetEnvironmentVariableW(name, nullptr);
        SetEnvironmentVariableW(L"ZOLBEX11_TEST_ROOT", nullptr);
        SetThreadExpansionSetting(VARIANT_FALSE);
        ComTest::TearDown();
    }

    // EnvironGet through the vtable, so that any VARIANT_BOOL (1, for one) reaches it.
    std::wstring Get(LONG style, const std::wstring& name, VARIANT_BOOL fullValue = VARIANT_FALSE) {
        BSTR variable = SysAllocString(name.c_str());
        Bstr result(L"stale");
        EXPECT_EQ(runtime_->EnvironGet(&style, &variable, &fullValue, result.Put()), S_OK);
        SysFreeString(variable);
        return result.Str();
    }

    // EnvironSet late-bound, the value passed by reference as a client's variable would be.
    std::wstring Set(LONG style, const std::wstring& name, BSTR* value) {
        CallResult r = CallMethod(IDispatch(), L"EnvironSet", Args(Long(style), Text(name.c_str()), RefToBstr(value)));
        EXPECT_EQ(r.hr, S_OK) << "no error reaches the caller";
        return Str(r.value);
    }
    std::wstring Set(LONG style, const std::wstring& name, const std::wstring& value) {
        BSTR text = SysAllocString(value.c_str());
        std::wstring result = Set(style, name, &text);
        SysFreeString(text);
        return result;
    }

    ComPtr<_clsZolbexENVValuePairsA> List(LONG style) {
        ComPtr<_clsZolbexENVValuePairsA> list;
        EXPECT_EQ(runtime_->EnvironList(&style, list.Put()), S_OK);
        return list;
    }

    ::IDispatch* IDispatch() { return runtime_.Get(); }

    RecordingPlatform platform_;
    RunTime runtime_;

private:
    std::optional<SavedValues> saved_;
    std::optional<platform::ScopedPlatform> substitute_;
};

TEST_F(EnvironmentFacadeTest, EachStyleReadsItsOwnScope) {
    SetEnvironmentVariableW(kV, L"process");
    PutText(User(kV), L"user");
    PutText(Machine(kV), L"machine");
    const std::pair<LONG, const wchar_t*> cases[] = {
        {kProcess, L"process"}, {kUser, L"user"}, {kMachine, L"machine"}, {kNoScope, L""}, {-1, L""}};
    for (const auto& [style, expected] : cases) EXPECT_EQ(Get(style, kV), expected) << "style " << style;

    CallResult omittedStyle = CallMethod(IDispatch(), L"EnvironGet", Args(Missing(), Text(kV)));
    ASSERT_EQ(omittedStyle.hr, S_OK);
    EXPECT_EQ(Str(omittedStyle.value), L"machine") << "the machine scope by default";
    EXPECT_EQ(CallMethod(IDispatch(), L"EnvironGet").hr, S_OK) << "every argument omitted";

    // A vtable caller leaves the style out with a null pointer: the same default.
    Bstr variable(kV);
    BSTR name = variable.Get();
    Bstr early;
    ASSERT_EQ(runtime_->EnvironGet(nullptr, &name, nullptr, early.Put()), S_OK);
    EXPECT_EQ(early.Str(), L"machine");
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(EnvironmentFacadeTest, EachStyleSetsOnlyItsOwnScopeAndEverySetIsRecorded) {
    const struct {
        LONG style;
        const wchar_t* value;
        bool inProcess, inUser, inMachine;
    } cases[] = {
        {kProcess, L"set-process", true, false, false},
        {kUser, L"set-user", false, true, false},
        {kMachine, L"set-machine", false, false, true},
        {kNoScope, L"set-nowhere", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(Set(c.style, kV, c.value), L"");
        EXPECT_EQ(ProcessVariable(kV) == c.value, c.inProcess);
        EXPECT_EQ(TextAt(User(kV)) == c.value, c.inUser);
        EXPECT_EQ(TextAt(Machine(kV)) == c.value, c.inMachine);
        EXPECT_EQ(TextAt(RecordOf(kV)), c.value) << "recorded whatever the style";
    }
    EXPECT_EQ(platform_.broadcasts.size(), 2u) << "one per stored write";
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(EnvironmentFacadeTest, LeadingReferenceIsResolvedInTheCallersScope) {
    PutText(User(kA), L"alpha");
    PutText(User(kB), L"beta");
    PutText(Machine(kA), L"machine-alpha");
    const struct {
        const wchar_t* stored;
        VARIANT_BOOL fullValue;
        const wchar_t* expected;
    } cases[] = {
        {L"%ZOLBEX11_TEST_A%x%ZOLBEX11_TEST_B%y", VARIANT_TRUE, L"alphax"},  // pieces after the second dropped
        {L"%ZOLBEX11_TEST_A%", VARIANT_TRUE, L"alpha"},
        {L"%ZOLBEX11_TEST_A%\\bin", VARIANT_TRUE, L"alpha\\bin"},
        {L"\\a%ZOLBEX11_TEST_B%", VARIANT_TRUE, L"\\a%ZOLBEX11_TEST_B%"},  // a "%" not first is not looked at
        {L"%ZOLBEX11_TEST_A%x", 1, L"%ZOLBEX11_TEST_A%x"},               // only exactly True resolves
        {L"%ZOLBEX11_TEST_A%x", VARIANT_FALSE, L"%ZOLBEX11_TEST_A%x"},
        {L"%%ZOLBEX11_TEST_A%", VARIANT_TRUE, L"ZOLBEX11_TEST_A"},  // the empty name reads as ""
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored, c.stored + wcslen(c.stored)));
        PutText(User(kV), c.stored);
        EXPECT_EQ(Get(kUser, kV, c.fullValue), c.expected);
    }
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(EnvironmentFacadeTest, SinglePercentLooksTheNameUpThenShowsError9) {
    PutText(User(kV), L"%ZOLBEX11_TEST_B");
    PutText(User(kB), L"beta");
    platform_.valuesQueried.clear();
    EXPECT_EQ(Get(kUser, kV, VARIANT_TRUE), L"");
    EXPECT_EQ(platform_.valuesQueried, (std::vector<std::wstring>{kV, kB}));
    EXPECT_EQ(platform_.boxes,
              (std::vector<MessageBoxSeen>{{L"9 , Subscript out of range", L"ZOLBEX11.EnvironGet", kInformation}}));
}

TEST_F(EnvironmentFacadeTest, CleanSwitchTurnsASetIntoAClear) {
    const struct {
        const wchar_t* label;
        std::optional<std::wstring> switchText;
        std::optional<std::wstring> stored;  // the user variable and its record afterwards
        const wchar_t* callerAfter;
        std::vector<MessageBoxSeen> boxes;
    } cases[] = {
        {L"1", L"1", L"", L"", {}},
        {L"0", L"0", L"kept", L"kept", {}},
        {L"2", L"2", L"kept", L"kept", {}},
        {L"absent", std::nullopt, L"kept", L"kept", {}},
        {L"not a number", L"on", std::nullopt, L"kept",
         {{L"13 , Type mismatch", L"ZOLBEX11.EnvironSet", kInformation}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label, c.label + wcslen(c.label)));
        RemoveValue(User(kV));
        RemoveValue(RecordOf(kV));
        if (c.switchText) PutText(SwitchValue(), *c.switchText);
        else RemoveValue(SwitchValue());
        platform_.boxes.clear();

        BSTR caller = SysAllocString(L"kept");
        EXPECT_EQ(Set(kUser, kV, &caller), L"");
        EXPECT_EQ(Bstr::ViewOf(caller), c.callerAfter) << "the caller's variable";
        SysFreeString(caller);
        EXPECT_EQ(TextAt(User(kV)), c.stored);
        EXPECT_EQ(TextAt(RecordOf(kV)), c.stored);
        EXPECT_EQ(platform_.boxes, c.boxes);
    }
}

TEST_F(EnvironmentFacadeTest, ScopeGetsTheGivenTextAndTheRecordTheMachineResolvedOne) {
    PutText(Machine(kW), L"C:\\Win");
    PutText(User(kW), L"user-win");  // resolution for the record always uses the machine scope
    EXPECT_EQ(Set(kUser, kV, L"%ZOLBEX11_TEST_W%\\bin"), L"");
    EXPECT_EQ(GetText(User(kV)), (StoredText{REG_EXPAND_SZ, L"%ZOLBEX11_TEST_W%\\bin"}));
    EXPECT_EQ(TextAt(RecordOf(kV)), L"C:\\Win\\bin");
    EXPECT_EQ(platform_.progIdsCreated, (std::vector<std::wstring>{L"zolbex11.clsZolbex11RunTimeA"}));
    EXPECT_TRUE(platform_.boxes.empty());
}

// A service's window station has no user to dismiss a box: the errors are swallowed as ever,
// and no box is shown, neither the facade's own nor its module procedure's.
TEST_F(EnvironmentFacadeTest, WithoutAnInteractiveWindowStationNoBoxIsShown) {
    platform_.interactive = false;
    PutText(User(kV), L"%ZOLBEX11_TEST_B");
    EXPECT_EQ(Get(kUser, kV, VARIANT_TRUE), L"");
    platform_.createObject = [](::IDispatch**) { return CO_E_CLASSSTRING; };
    EXPECT_EQ(Set(kUser, kV, L"%ZOLBEX11_TEST_W%\\bin"), L"");
    EXPECT_TRUE(platform_.boxes.empty());
    EXPECT_EQ(TextAt(User(kV)), L"%ZOLBEX11_TEST_W%\\bin") << "the set itself still happens";
}

TEST_F(EnvironmentFacadeTest, UnregisteredLibraryBringsTwoExclamationBoxes) {
    platform_.createObject = [](::IDispatch**) { return CO_E_CLASSSTRING; };
    EXPECT_EQ(Set(kUser, kV, L"%ZOLBEX11_TEST_W%\\bin"), L"");
    const std::wstring title = L"basZolbexCommonA.ZLBEnvironGet";
    EXPECT_EQ(platform_.boxes,
              (std::vector<MessageBoxSeen>{
                  {L"429\r\nActiveX component can't create object\r\nHalvern ZOLBEX11\r\n", title, kExclamation},
                  {L"91\r\nObject variable or With block variable not set\r\nHalvern ZOLBEX11\r\n", title,
                   kExclamation}}));
    EXPECT_EQ(TextAt(User(kV)), L"%ZOLBEX11_TEST_W%\\bin");
    EXPECT_EQ(TextAt(RecordOf(kV)), L"\\bin") << "piece 2 alone";
}

// Stands in for the runtime object that ZLBEnvironGet creates by its ProgID: records how
// EnvironGet is called late-bound and answers with a number, which the caller takes as text.
class EnvironGetRecorder final : public ::IDispatch {
public:
    static constexpr DISPID kEnvironGetId = 0x60030009;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
        *out = static_cast<::IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives in the test
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (count != 1 || _wcsicmp(names[0], L"EnvironGet") != 0) return DISP_E_UNKNOWNNAME;
        ids[0] = kEnvironGetId;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT*) override {
        if (id != kEnvironGetId) return DISP_E_MEMBERNOTFOUND;
        namedArguments = params->cNamedArgs;
        for (UINT i = params->cArgs; i-- > 0;) types.push_back(V_VT(&params->rgvarg[i]));  // caller's order
        if (types == std::vector<VARTYPE>{VT_BYREF | VT_I4, VT_BYREF | VT_BSTR, VT_BYREF | VT_BOOL}) {
            style = *V_I4REF(&params->rgvarg[2]);
            name = Bstr::ViewOf(*V_BSTRREF(&params->rgvarg[1]));
            fullValue = *V_BOOLREF(&params->rgvarg[0]);
        }
        if (result) {
            V_VT(result) = VT_I4;
            V_I4(result) = 42;
        }
        return S_OK;
    }

    ULONG references = 1;
    std::vector<VARTYPE> types;  // of the arguments, in the caller's order
    UINT namedArguments = ~0u;
    LONG style = -1;
    std::wstring name;
    VARIANT_BOOL fullValue = 1;
};

TEST_F(EnvironmentFacadeTest, RecordLookUpCallsEnvironGetByNameWithThreeArgumentsByReference) {
    EnvironGetRecorder recorder;
    platform_.createObject = [&](::IDispatch** object) {
        recorder.AddRef();
        *object = &recorder;
        return S_OK;
    };
    EXPECT_EQ(Set(kUser, kV, L"%ZOLBEX11_TEST_W%\\bin"), L"");
    EXPECT_EQ(recorder.types, (std::vector<VARTYPE>{VT_BYREF | VT_I4, VT_BYREF | VT_BSTR, VT_BYREF | VT_BOOL}));
    EXPECT_EQ(recorder.namedArguments, 0u);
    EXPECT_EQ(recorder.style, kMachine) << "the machine scope, whatever the caller's style";
    EXPECT_EQ(recorder.name, kW);
    EXPECT_EQ(recorder.fullValue, VARIANT_FALSE);
    EXPECT_EQ(recorder.references, 1u) << "released after the call";
    EXPECT_EQ(TextAt(RecordOf(kV)), L"42\\bin") << "the result taken as text";
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(EnvironmentFacadeTest, SetOfASinglePercentIsStoredThenShowsError9AndIsNotRecorded) {
    PutText(Machine(kB), L"beta");
    EXPECT_EQ(Set(kUser, kV, L"%ZOLBEX11_TEST_B"), L"");
    EXPECT_EQ(TextAt(User(kV)), L"%ZOLBEX11_TEST_B") << "stored before the record's resolution";
    EXPECT_EQ(platform_.broadcasts.size(), 1u);
    EXPECT_EQ(platform_.progIdsCreated.size(), 1u) << "the name is looked up before the error";
    EXPECT_FALSE(TextAt(RecordOf(kV)));
    EXPECT_EQ(platform_.boxes,
              (std::vector<MessageBoxSeen>{{L"9 , Subscript out of range", L"ZOLBEX11.EnvironSet", kInformation}}));
}
TEST_F(EnvironmentFacadeTest, RefusedMachineWriteIsShownNotRecordedNotBroadcast) {
    platform_.refuseMachineWrites = true;
    EXPECT_EQ(Set(kMachine, kV, L"refused"), L"");
    ASSERT_EQ(platform_.boxes.size(), 1u);
    EXPECT_EQ(platform_.boxes[0].text.rfind(L"26001 , ", 0), 0u);
    EXPECT_NE(platform_.boxes[0].text.find(L"Session Manager\\Environment"), std::wstring::npos);
    EXPECT_EQ(platform_.boxes[0].title, L"ZOLBEX11.EnvironSet");
    EXPECT_EQ(platform_.boxes[0].flags, kInformation);
    EXPECT_FALSE(TextAt(Machine(kV)));
    EXPECT_FALSE(TextAt(RecordOf(kV)));
    EXPECT_TRUE(platform_.broadcasts.empty());
}

TEST_F(EnvironmentFacadeTest, EachListIsANewCollectionOfItsScope) {
    SetEnvironmentVariableW(kV, L"process");
    PutText(User(kV), L"user");
    PutText(Machine(kV), L"machine");
    const std::pair<LONG, const wchar_t*> cases[] = {{kProcess, L"process"}, {kUser, L"user"}, {kMachine, L"machine"}};
    for (const auto& [style, expected] : cases) {
        auto first = List(style), second = List(style);
        ASSERT_TRUE(first && second) << "style " << style;
        EXPECT_NE(first.Get(), second.Get());
        EXPECT_EQ(Listed(first.Get(), kV), expected);
    }
    EXPECT_FALSE(List(kNoScope)) << "no collection, and no error";

    CallResult omitted = CallMethod(IDispatch(), L"EnvironList");
    ASSERT_EQ(omitted.hr, S_OK);
    ASSERT_EQ(omitted.value.Type(), VT_DISPATCH);
    auto machine = ComPtr<::IDispatch>(V_DISPATCH(omitted.value.Get()))
                       .As<_clsZolbexENVValuePairsA>(__uuidof(_clsZolbexENVValuePairsA));
    ASSERT_TRUE(machine);
    EXPECT_EQ(Listed(machine.Get(), kV), L"machine");
    EXPECT_TRUE(platform_.boxes.empty());
}

TEST_F(EnvironmentFacadeTest, ExpansionSettingIsSharedOnAThreadAndFalseOnANewOne) {
    SetEnvironmentVariableW(L"ZOLBEX11_TEST_ROOT", L"C:\\Root");
    PutText(User(kV), L"%ZOLBEX11_TEST_ROOT%\\Temp", REG_EXPAND_SZ);
    RunTime other = Create<_clsZolbex11RunTimeA>(NewRunTime);
    VARIANT_BOOL seen = VARIANT_TRUE;
    ASSERT_EQ(other->get_ExpandEnvVar(&seen), S_OK);
    EXPECT_EQ(seen, VARIANT_FALSE);
    EXPECT_EQ(Get(kUser, kV), L"%ZOLBEX11_TEST_ROOT%\\Temp");

    ASSERT_EQ(runtime_->put_ExpandEnvVar(VARIANT_TRUE), S_OK);
    ASSERT_EQ(other->get_ExpandEnvVar(&seen), S_OK);
    EXPECT_EQ(seen, VARIANT_TRUE) << "another object of the same thread";
    EXPECT_EQ(Get(kUser, kV), L"C:\\Root\\Temp") << "the next call's scope expands";

    VARIANT_BOOL onNewThread = VARIANT_TRUE;
    std::thread([&] {
        RunTime there = Create<_clsZolbex11RunTimeA>(NewRunTime);
        there->get_ExpandEnvVar(&onNewThread);
    }).join();
    EXPECT_EQ(onNewThread, VARIANT_FALSE);
}

}  // namespace
}  // namespace zolbex::testing
