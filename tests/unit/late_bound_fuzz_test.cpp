// The whole late-bound surface under a careless or hostile caller: every member of every class of
// the catalogue, called through IDispatch::Invoke with arguments, named arguments, flags,
// interface identifiers and out-pointers drawn from a fixed seed. After every call the answer
// must be one the automation rules allow, with no result after a failure and exception
// information exactly when DISP_E_EXCEPTION is returned. Over the run every object made is
// released and every text and array allocated is freed again. Side effects stay in the sandbox.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "allocation_spy.h"
#include "com_test_support.h"
#include "environment/value_pair.h"
#include "environment/value_pairs.h"
#include "fuzz_arguments.h"
#include "library/catalogue.h"
#include "library/class_table.h"
#include "library/expansion_setting.h"
#include "sandbox_platform.h"

namespace zolbex {
namespace {

using namespace testing;

// About 25 seconds under Wine on x86_64 (the 32-bit target runs it several times slower).
constexpr int kFuzzCalls = 400000;
constexpr uint64_t kSeed = 0x5A4F4C4245583131ull;

struct Target {
    std::string className;
    const catalogue::Interface* itf = nullptr;
    ComPtr<IDispatch> object;
};

struct FuzzMember {
    size_t target;
    std::string name;  // "<unknown>" for a DISPID no member has
    DISPID id;
    catalogue::MemberKind kind;
    unsigned params;
};

WORD NaturalFlags(catalogue::MemberKind kind, FuzzRandom& random) {
    switch (kind) {
        case catalogue::MemberKind::PropertyGet:
            return random.Chance(50) ? DISPATCH_PROPERTYGET : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
        case catalogue::MemberKind::PropertyLet:
        case catalogue::MemberKind::UndescribedLet: return DISPATCH_PROPERTYPUT;
        case catalogue::MemberKind::PropertySet: return DISPATCH_PROPERTYPUTREF;
        default: return random.Chance(50) ? DISPATCH_METHOD : DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    }
}

bool IsPut(WORD flags) { return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

// The answers IDispatch::Invoke may give to a caller that made a mistake or met a failing member.
bool IsDispatchAnswer(HRESULT hr) {
    switch (hr) {
        case DISP_E_MEMBERNOTFOUND: case DISP_E_PARAMNOTFOUND: case DISP_E_TYPEMISMATCH:
        case DISP_E_BADPARAMCOUNT: case DISP_E_PARAMNOTOPTIONAL: case DISP_E_OVERFLOW: case DISP_E_BADVARTYPE:
        case DISP_E_UNKNOWNINTERFACE: case DISP_E_NONAMEDARGS: case DISP_E_EXCEPTION: case DISP_E_ARRAYISLOCKED:
        case E_INVALIDARG: case E_POINTER: case E_OUTOFMEMORY:
            return true;
        default:
            return false;
    }
}

// A member's own error, which reaches a caller without EXCEPINFO unchanged: the runtime's and the
// library's numbers, Win32 errors, and the generic failures a callee may report.
bool IsMemberError(HRESULT hr) {
    switch (HRESULT_FACILITY(hr)) {
        case FACILITY_CONTROL: case FACILITY_ITF: case FACILITY_WIN32: case FACILITY_DISPATCH: return true;
        default: return hr == E_FAIL || hr == E_UNEXPECTED || hr == E_NOTIMPL || hr == E_NOINTERFACE;
    }
}

bool TraceWanted() {
    const char* trace = std::getenv("ZOLBEX11_FUZZ_TRACE");
    return trace && *trace && std::strcmp(trace, "0") != 0;
}

bool IsZero(const EXCEPINFO& exception) {
    static const EXCEPINFO zero{};
    return std::memcmp(&exception, &zero, sizeof zero) == 0;
}

class LateBoundFuzzTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        objectsBefore_ = module::LiveObjects();
        const catalogue::Library& lib = catalogue::TheLibrary();
        for (const catalogue::Coclass& cls : lib.coclasses) {
            Target target;
            target.className = cls.name;
            target.itf = lib.FindInterface(cls.interfaceName);
            if (ClassCreator create = FindCreator(cls.clsid)) {
                target.object = create();
            } else if (std::string(cls.name) == "clsZolbexENVValuePairsA") {
                ComPtr<ValuePairs> list = NewValuePairs();
                list->Add(NewValuePair(L"PATH", L"C:\\windows").Get(), L"PATH");
                list->Append(NewValuePair(L"", L"").Get());
                target.object = ComPtr<IDispatch>(list.Get());
            } else {
                target.object = ComPtr<IDispatch>(NewValuePair(L"TEMP", L"C:\\temp").Get());
            }
            targets_.push_back(std::move(target));
        }
        for (size_t t = 0; t < targets_.size(); ++t) {
            for (const catalogue::Member& member : targets_[t].itf->members)
                members_.push_back({t, member.name, member.dispid, member.kind, static_cast<unsigned>(member.params.size())});
            members_.push_back({t, "<unknown>", 0x12345, catalogue::MemberKind::Method, 1});
            // Built once for the process: the dispatch tables, with their default values.
            LPOLESTR name = const_cast<LPOLESTR>(L"Count");
            DISPID id = 0;
            targets_[t].object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
        }
    }

    void TearDown() override {
        targets_.clear();
        SetThreadExpansionSetting(VARIANT_FALSE);
        ComTest::TearDown();
    }

    void Violation(const std::string& what) {
        ++violations_;
        if (messages_.size() < 25) messages_.push_back(what);
    }

    void FuzzInvoke(FuzzRandom& random);
    void FuzzNames(FuzzRandom& random);

    // ZOLBEX11_FUZZ_TRACE=1 prints each call before it is made, to find the one that crashes;
    // unset, empty or 0 is off.
    const bool trace_ = TraceWanted();
    std::vector<Target> targets_;
    std::vector<FuzzMember> members_;
    long objectsBefore_ = 0;
    int violations_ = 0;
    int succeeded_ = 0, raised_ = 0, refused_ = 0;  // S_OK, DISP_E_EXCEPTION, any other failure
    std::vector<std::string> messages_;
    std::set<std::tuple<size_t, int, int>> combinations_;  // member, argument kind, flags
};

void LateBoundFuzzTest::FuzzInvoke(FuzzRandom& random) {
    const size_t m = random.Below(static_cast<unsigned>(members_.size()));
    const FuzzMember& member = members_[m];
    IDispatch* object = targets_[member.target].object.Get();
    WORD flags = NaturalFlags(member.kind, random);
    if (random.Chance(25)) flags = static_cast<WORD>(random.Chance(80) ? random.Below(16) : random.Next());

    ArgumentPool pool(targets_[random.Below(static_cast<unsigned>(targets_.size()))].object.Get());
    const unsigned count = random.Below(member.params + 3);
    std::vector<VARIANT> args(count);
    for (unsigned i = 0; i < count; ++i) {
        const unsigned kind = pool.Make(random, &args[i]);
        combinations_.emplace(m, static_cast<int>(kind), flags & 0xF);
    }
    if (count == 0) combinations_.emplace(m, -1, flags & 0xF);

    // Named arguments: the new value of a put as the rules want it, or any mix of valid, unknown,
    // repeated and misplaced names.
    std::vector<DISPID> named;
    if (count > 0 && IsPut(flags) && random.Chance(80)) named.push_back(DISPID_PROPERTYPUT);
    if (count > named.size() && random.Chance(25)) {
        const unsigned extra = 1 + random.Below(count - static_cast<unsigned>(named.size()));
        for (unsigned i = 0; i < extra; ++i) {
            switch (random.Below(4)) {
                case 0: named.push_back(static_cast<DISPID>(random.Below(member.params + 1))); break;
                case 1: named.push_back(random.Chance(50) ? 99 : -7); break;
                case 2: named.push_back(named.empty() ? 0 : named.back()); break;
                default: named.insert(named.begin() + random.Below(static_cast<unsigned>(named.size()) + 1),
                                      DISPID_PROPERTYPUT);
            }
        }
    }
    DISPPARAMS params{args.data(), named.empty() ? nullptr : named.data(), count, static_cast<UINT>(named.size())};
    // Malformed parameter blocks.
    switch (random.Below(40)) {
        case 0: params.rgdispidNamedArgs = nullptr; params.cNamedArgs = 1 + random.Below(2); break;
        case 1: params.rgvarg = nullptr; break;
        case 2: params.cNamedArgs = count + 1 + random.Below(3); params.rgdispidNamedArgs = nullptr; break;
        default: break;
    }
    DISPPARAMS* paramsArgument = random.Chance(5) ? nullptr : &params;

    const IID& iid = random.Chance(5) ? IID_IDispatch : IID_NULL;
    VARIANT result;
    VariantInit(&result);
    if (random.Chance(10)) {
        V_VT(&result) = VT_I4;  // a caller that did not empty its result first
        V_I4(&result) = 42;
    }
    EXCEPINFO exception{};
    UINT argError = 0;
    const bool withResult = !random.Chance(10), withException = !random.Chance(10), withArgError = !random.Chance(10);

    if (trace_)
        std::printf("fuzz: %s.%s flags %u, %u arguments, %u named\n", targets_[member.target].className.c_str(),
                    member.name.c_str(), static_cast<unsigned>(flags), count, static_cast<unsigned>(named.size()));
    if (trace_) std::fflush(stdout);
    const HRESULT hr = object->Invoke(member.id, iid, LOCALE_USER_DEFAULT, flags, paramsArgument,
                                      withResult ? &result : nullptr, withException ? &exception : nullptr,
                                      withArgError ? &argError : nullptr);

    char where[200];
    std::snprintf(where, sizeof where, "%s.%s flags %u, %u arguments, %u named%s: 0x%08lX",
                  targets_[member.target].className.c_str(), member.name.c_str(), static_cast<unsigned>(flags), count,
                  static_cast<unsigned>(named.size()), withException ? "" : ", no EXCEPINFO",
                  static_cast<unsigned long>(hr));
    if (hr == S_OK) ++succeeded_;
    else if (hr == DISP_E_EXCEPTION) ++raised_;
    else ++refused_;
    if (FAILED(hr)) {
        // Without exception information a member's own error may come back as it is.
        const bool allowed = IsDispatchAnswer(hr) || (!withException && IsMemberError(hr));
        if (!allowed) Violation(std::string(where) + ": not an answer Invoke may give");
        if (hr == DISP_E_EXCEPTION && !withException) Violation(std::string(where) + ": exception without EXCEPINFO");
        if (withResult && V_VT(&result) != VT_EMPTY) Violation(std::string(where) + ": a result after a failure");
    } else if (hr != S_OK) {
        Violation(std::string(where) + ": a success other than S_OK");
    }
    if (withException) {
        const bool filled = !IsZero(exception);
        if ((hr == DISP_E_EXCEPTION) != filled)
            Violation(std::string(where) + (filled ? ": EXCEPINFO filled without DISP_E_EXCEPTION"
                                                   : ": DISP_E_EXCEPTION with an empty EXCEPINFO"));
        if (hr == DISP_E_EXCEPTION && exception.scode == 0 && exception.wCode == 0)
            Violation(std::string(where) + ": exception without an error code");
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    VariantClear(&result);
    for (VARIANT& arg : args) VariantClear(&arg);
}

void LateBoundFuzzTest::FuzzNames(FuzzRandom& random) {
    IDispatch* object = targets_[random.Below(static_cast<unsigned>(targets_.size()))].object.Get();
    const FuzzMember& member = members_[random.Below(static_cast<unsigned>(members_.size()))];
    std::vector<std::wstring> texts = {std::wstring(member.name.begin(), member.name.end()), L"sKeyNames",
                                       L"NoSuchMember", L"", L"ITEM", L"lStyle"};
    const UINT count = random.Below(4);
    std::vector<LPOLESTR> names(count);
    for (UINT i = 0; i < count; ++i)
        names[i] = random.Chance(10) ? nullptr : const_cast<LPOLESTR>(texts[random.Below(6)].c_str());
    std::vector<DISPID> ids(count + 1, 0);
    const IID& iid = random.Chance(10) ? IID_IDispatch : IID_NULL;
    const HRESULT hr = object->GetIDsOfNames(iid, random.Chance(10) ? nullptr : names.data(), count, 0,
                                             random.Chance(10) ? nullptr : ids.data());
    switch (hr) {
        case S_OK: case DISP_E_UNKNOWNNAME: case DISP_E_UNKNOWNINTERFACE: case E_INVALIDARG: case E_POINTER:
        case E_OUTOFMEMORY: case DISP_E_UNKNOWNLCID:
            break;
        default: {
            char where[120];
            std::snprintf(where, sizeof where, "GetIDsOfNames of %u names: 0x%08lX", count, static_cast<unsigned long>(hr));
            Violation(where);
        }
    }
}

TEST_F(LateBoundFuzzTest, EveryMemberSurvivesHostileCallsAndLeavesNothingBehind) {
    SandboxPlatform sandbox;
    platform::ScopedPlatform scoped(sandbox);
    size_t allocations = 0;
    size_t outstanding = 0;
    {
        AllocationSpy spy;
        ASSERT_TRUE(spy.Installed()) << "CoRegisterMallocSpy refused the spy";
        FuzzRandom random(kSeed);
        for (int call = 0; call < kFuzzCalls; ++call) {
            if (random.Chance(5)) FuzzNames(random);
            else FuzzInvoke(random);
        }
        targets_.clear();
        SetErrorInfo(0, nullptr);  // the thread's last error object holds texts
        allocations = spy.Allocations();
        outstanding = spy.Outstanding();
    }
    std::printf("[ fuzz     ] %d calls (%d succeeded, %d raised a member's error, %d refused), %zu distinct "
                "member x argument-kind x flags combinations, crashes 0, %zu texts and arrays allocated, %zu leaked, "
                "%d violations\n",
                kFuzzCalls, succeeded_, raised_, refused_, combinations_.size(), allocations, outstanding, violations_);
    for (const std::string& message : messages_) std::printf("  %s\n", message.c_str());
    EXPECT_EQ(violations_, 0);
    EXPECT_EQ(outstanding, 0u) << "texts or arrays allocated during the run and never freed";
    EXPECT_EQ(module::LiveObjects(), objectsBefore_) << "objects made during the run still alive";
    EXPECT_EQ(sandbox.OpenKeys(), 0) << "registry keys left open";
    EXPECT_EQ(sandbox.OpenProcesses(), 0) << "started programs never closed";
    EXPECT_GT(combinations_.size(), 1000u);
}

}  // namespace
}  // namespace zolbex
