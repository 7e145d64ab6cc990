// Every member that reaches the platform, with each of its platform calls made to fail in turn
// (the first call of the member's run, then the second, and so on). Whatever fails, the member
// answers as its class documents, never reports a failed change of stored state as success
// (apart from the silences the classes document: the facade's message box, a process variable
// or a tool whose failure goes unnoticed, the added verbs' skipped steps), leaves no key open and
// no program handle unclosed, and frees every object, text and array it made.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "allocation_spy.h"
#include "com_test_support.h"
#include "environment_test_support.h"
#include "library/catalogue.h"
#include "library/class_table.h"
#include "registry/registry_error.h"
#include "library/expansion_setting.h"
#include "platform/registry_names.h"
#include "sandbox_platform.h"

namespace zolbex {
namespace {

using namespace testing;
using catalogue::MemberKind;

// What a member may do instead of failing when a change of stored state fails.
enum class Silence {
    None,   // it must fail
    Box,    // it reports the failure in a message box and returns normally (the facade)
    Quiet,  // documented: the failure goes unnoticed
};

// The catalogue member a scenario exercises: its interface, name and accessor.
struct MemberRef {
    const char* interfaceName;
    const char* name;
    MemberKind kind;
};

constexpr char kRegistryItf[] = "_clsZolbexENVRegistryA";
constexpr char kProcessItf[] = "_clsZolbexENVProcessA";
constexpr char kUserItf[] = "_clsZolbexENVUserA";
constexpr char kSystemItf[] = "_clsZolbexENVSystemA";
constexpr char kRunTimeItf[] = "_clsZolbex11RunTimeA";

constexpr MemberRef Get(const char* itf, const char* name) { return {itf, name, MemberKind::PropertyGet}; }
constexpr MemberRef Let(const char* itf, const char* name) { return {itf, name, MemberKind::PropertyLet}; }
constexpr MemberRef Call(const char* itf, const char* name) { return {itf, name, MemberKind::Method}; }

struct FaultScenario {
    MemberRef member;
    const char* what;
    ClassCreator create;
    std::function<void(IDispatch*)> arrange;  // run before the faults, never failing
    std::function<CallResult(IDispatch*)> act;
    Silence silence;
    std::vector<long> errors;  // the error numbers a failure may carry; empty: any
};

void PointAt(IDispatch* registry, LONG root, const wchar_t* section, const wchar_t* value, LONG type) {
    PutProperty(registry, L"ClassKey", Args(Long(root)));
    PutProperty(registry, L"SectionKey", Args(Text(section)));
    PutProperty(registry, L"ValueKey", Args(Text(value)));
    PutProperty(registry, L"ValueType", Args(Long(type)));
}

void PointAtScratch(IDispatch* registry) { PointAt(registry, kHkeyCurrentUser, L"Software\\Faults", L"v", REG_SZ); }

const std::vector<long> kRegistryErrors = {kRegistryKeyError, kValueWriteError, kListingError};

std::vector<FaultScenario> Scenarios() {
    auto nothing = [](IDispatch*) {};
    auto withValues = [](IDispatch* registry) {
        PointAtScratch(registry);
        PutProperty(registry, L"Value", Args(Text(L"one")));
        PutProperty(registry, L"ValueKey", Args(Text(L"w")));
        PutProperty(registry, L"Value", Args(Text(L"%PATH%;two")));
        PutProperty(registry, L"ExpandEnv", Args(Bool(true)));
    };
    auto withSections = [](IDispatch* registry) {
        PointAt(registry, kHkeyCurrentUser, L"Software\\Faults\\a", L"", REG_SZ);
        CallMethod(registry, L"CreateKey");
        PointAt(registry, kHkeyCurrentUser, L"Software\\Faults\\b", L"", REG_SZ);
        CallMethod(registry, L"CreateKey");
        PointAt(registry, kHkeyCurrentUser, L"Software\\Faults", L"", REG_SZ);
    };
    auto withClass = [](IDispatch* registry) {
        CallMethod(registry, L"CreateEXEAssociation",
                   Args(Text(L"C:\\app.exe"), Text(L"Fault.Doc"), Text(L"Fault document"), Text(L".fdoc")));
        PutProperty(registry, L"ClassKey", Args(Long(kHkeyClassesRoot)));
    };
    auto listing = [](const wchar_t* member) {
        return [member](IDispatch* registry) {
            Variant names, count;
            return CallMethod(registry, member, Args(RefTo(names.Get()), RefTo(count.Get())));
        };
    };
    auto facade = [](const wchar_t* member, LONG style, std::vector<const wchar_t*> texts) {
        return [=](IDispatch* runtime) {
            std::vector<Variant> args;
            args.push_back(Long(style));
            for (const wchar_t* text : texts) args.push_back(Text(text));
            return CallMethod(runtime, member, std::move(args));
        };
    };
    return {
        {Get(kRegistryItf, "KeyExists"), "KeyExists", NewRegistry, withValues, [](IDispatch* r) { return GetProperty(r, L"KeyExists"); }, Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "CreateKey"), "CreateKey", NewRegistry, PointAtScratch, [](IDispatch* r) { return CallMethod(r, L"CreateKey"); }, Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "DeleteKey"), "DeleteKey", NewRegistry, withSections,
         [](IDispatch* r) {
             PutProperty(r, L"SectionKey", Args(Text(L"Software\\Faults\\a")));
             return CallMethod(r, L"DeleteKey");
         },
         Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "DeleteValue"), "DeleteValue", NewRegistry, withValues, [](IDispatch* r) { return CallMethod(r, L"DeleteValue"); }, Silence::None, kRegistryErrors},
        // A text that cannot be expanded whole fails the read.
        {Get(kRegistryItf, "Value"), "Value get, expanded", NewRegistry, withValues, [](IDispatch* r) { return GetProperty(r, L"Value"); }, Silence::None,
         {kRegistryKeyError, kValueWriteError, kListingError, kOutOfStringSpace}},
        {Let(kRegistryItf, "Value"), "Value let, text", NewRegistry, PointAtScratch, [](IDispatch* r) { return PutProperty(r, L"Value", Args(Text(L"t"))); }, Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "WriteKey"), "WriteKey, number", NewRegistry,
         [](IDispatch* r) { PointAt(r, kHkeyCurrentUser, L"Software\\Faults", L"n", REG_DWORD); },
         [](IDispatch* r) { return CallMethod(r, L"WriteKey", Args(Long(7), Text(L"n2"))); }, Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "ReadKey"), "ReadKey", NewRegistry, withValues,
         [](IDispatch* r) { return CallMethod(r, L"ReadKey", Args(Text(L"v"), Text(L"Software\\Faults"), Long(kHkeyCurrentUser), Text(L"d"))); },
         Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "EnumerateValues"), "EnumerateValues", NewRegistry, withValues, listing(L"EnumerateValues"), Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "EnumerateSections"), "EnumerateSections", NewRegistry, withSections, listing(L"EnumerateSections"), Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "CreateEXEAssociation"), "CreateEXEAssociation", NewRegistry, nothing,
         [](IDispatch* r) {
             return CallMethod(r, L"CreateEXEAssociation",
                               Args(Text(L"C:\\app.exe"), Text(L"Fault.Doc"), Text(L"Fault document"), Text(L".fdoc"),
                                    Text(L"&Open"), Bool(true), Text(L"&Print"), Bool(true), Text(L"&New"), Bool(true),
                                    Text(L"&Install"), Long(2)));
         },
         Silence::None, kRegistryErrors},
        {Call(kRegistryItf, "CreateAdditionalEXEAssociations"), "CreateAdditionalEXEAssociations", NewRegistry, withClass,
         [](IDispatch* r) {
             return CallMethod(r, L"CreateAdditionalEXEAssociations",
                               Args(Text(L"Fault.Doc"), Text(L"edit"), Text(L"&Edit"), Text(L"edit.exe %1")));
         },
         Silence::Quiet, {}},
        {Get(kProcessItf, "Environment"), "process Environment get", NewProcessScope, nothing, [](IDispatch* p) { return GetProperty(p, L"Environment", Args(Text(L"PATH"))); }, Silence::None, {}},
        {Let(kProcessItf, "Environment"), "process Environment let", NewProcessScope, nothing,
         [](IDispatch* p) { return PutProperty(p, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"1"))); }, Silence::Quiet, {}},
        {Get(kProcessItf, "List"), "process List", NewProcessScope, nothing, [](IDispatch* p) { return GetProperty(p, L"List"); }, Silence::None, {}},
        {Get(kUserItf, "Environment"), "user Environment get", NewUserScope, nothing, [](IDispatch* u) { return GetProperty(u, L"Environment", Args(Text(L"TEMP"))); }, Silence::None, kRegistryErrors},
        {Let(kUserItf, "Environment"), "user Environment let", NewUserScope, nothing,
         [](IDispatch* u) { return PutProperty(u, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"%TEMP%\\x"))); }, Silence::None, kRegistryErrors},
        {Get(kUserItf, "List"), "user List", NewUserScope,
         [](IDispatch* u) { PutProperty(u, L"Environment", Args(Text(L"A"), Text(L"1"))); },
         [](IDispatch* u) { return GetProperty(u, L"List"); }, Silence::None, kRegistryErrors},
        {Let(kSystemItf, "Environment"), "system Environment let", NewSystemScope, nothing,
         [](IDispatch* s) { return PutProperty(s, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"2"))); }, Silence::None, kRegistryErrors},
        {Get(kSystemItf, "Environment"), "system Environment get", NewSystemScope,
         [](IDispatch* s) { PutProperty(s, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"%TEMP%\\x"))); },
         [](IDispatch* s) { return GetProperty(s, L"Environment", Args(Text(L"ZOLBEX11_FAULT"))); }, Silence::None, kRegistryErrors},
        {Get(kSystemItf, "List"), "system List", NewSystemScope,
         [](IDispatch* s) { PutProperty(s, L"Environment", Args(Text(L"A"), Text(L"1"))); },
         [](IDispatch* s) { return GetProperty(s, L"List"); }, Silence::None, kRegistryErrors},
        {Call(kRunTimeItf, "EnvironGet"), "EnvironGet", NewRunTime, nothing, facade(L"EnvironGet", 1, {L"TEMP"}), Silence::Box, {}},
        {Call(kRunTimeItf, "EnvironSet"), "EnvironSet, user", NewRunTime, nothing, facade(L"EnvironSet", 1, {L"ZOLBEX11_FAULT", L"%A%b"}), Silence::Box, {}},
        // The process scope does not look at the result of setting a variable.
        {Call(kRunTimeItf, "EnvironSet"), "EnvironSet, process", NewRunTime, nothing, facade(L"EnvironSet", 0, {L"ZOLBEX11_FAULT", L"3"}), Silence::Quiet, {}},
        // A value with a single "%" is stored, then reported in a box (error 9).
        {Call(kRunTimeItf, "EnvironSet"), "EnvironSet, reported", NewRunTime, nothing, facade(L"EnvironSet", 1, {L"ZOLBEX11_FAULT", L"%x"}), Silence::Box, {}},
        {Call(kRunTimeItf, "EnvironList"), "EnvironList, machine", NewRunTime, nothing, facade(L"EnvironList", 2, {}), Silence::Box, {}},
        {Call(kRunTimeItf, "CreateVirtualDrive"), "CreateVirtualDrive", NewRunTime, nothing,
         [](IDispatch* rt) {
             return CallMethod(rt, L"CreateVirtualDrive", Args(Long(0), Text(L"Q:"), Text(SandboxPlatform::kKnownShortFolder),
                                                                Text(L"Label"), Bool(true)));
         },
         Silence::Quiet, {}},
        {Call(kRunTimeItf, "CreateVirtualDriveHVPro"), "CreateVirtualDriveHVPro", NewRunTime, nothing,
         [](IDispatch* rt) { return CallMethod(rt, L"CreateVirtualDriveHVPro", Args(Long(0), Text(L"W:"), Bool(true))); },
         Silence::Quiet, {}},
        {Get(kRunTimeItf, "goFSO"), "goFSO get", NewRunTime, nothing, [](IDispatch* rt) { return GetProperty(rt, L"goFSO"); }, Silence::None, {}},
    };
}

// Members without a fault scenario, each with the reason it needs none. Every accessor of a
// named member that has no scenario of its own is exempt; a member the catalogue gains needs a
// scenario above or a line here, or the coverage test below fails.
struct Exemption {
    const char* interfaceName;
    const char* name;
    const char* reason;
};

const Exemption kExemptions[] = {
    {"_clsZolbexENVValuePairA", "Variable", "the pair holds its own texts: no platform call"},
    {"_clsZolbexENVValuePairA", "Value", "the pair holds its own texts: no platform call"},
    {"_clsZolbexENVValuePairsA", "Item", "the collection holds its pairs in memory: no platform call"},
    {"_clsZolbexENVValuePairsA", "Count", "the collection holds its pairs in memory: no platform call"},
    {"_clsZolbexENVValuePairsA", "NewEnum", "the enumerator walks the collection in memory: no platform call"},
    {kRegistryItf, "ValueType", "a field of the object: no platform call until a member uses it"},
    {kRegistryItf, "ClassKey", "a field of the object: no platform call until a member uses it"},
    {kRegistryItf, "SectionKey", "a field of the object: no platform call until a member uses it"},
    {kRegistryItf, "ValueKey", "a field of the object: no platform call until a member uses it"},
    {kRegistryItf, "Default", "a field of the object: no platform call until a member uses it"},
    {kRegistryItf, "ExpandEnv", "the thread's expansion setting: no platform call"},
    {kRunTimeItf, "ExpandEnvVar", "the thread's expansion setting: no platform call"},
    {kRunTimeItf, "goFSO", "let and set only store the object they are given"},
    {kRunTimeItf, "goRegistry", "an object field: it creates or stores a registry object, no platform call"},
    {kRunTimeItf, "CreateVirtualDriveHV", "the body of CreateVirtualDriveHVPro with another default drive"},
    {kRunTimeItf, "CreateVirtualDriveHVWin", "the body of CreateVirtualDriveHVPro with another default drive"},
    {"_HV_ZOLBEX11", "m_clsZolbex11RunTimeA", "an object field: it creates or stores an object, no platform call"},
    {"_HV_ZOLBEX11", "m_clsZolbexENVRegistryA", "an object field: it creates or stores an object, no platform call"},
};

bool Same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

TEST(PlatformFaultsCoverage, EveryCatalogueMemberHasAScenarioOrANamedExemption) {
    const std::vector<FaultScenario> scenarios = Scenarios();
    std::set<const Exemption*> used;
    for (const catalogue::Interface& itf : catalogue::TheLibrary().interfaces) {
        for (const catalogue::Member& member : itf.members) {
            const bool scenario = std::any_of(scenarios.begin(), scenarios.end(), [&](const FaultScenario& s) {
                return Same(s.member.interfaceName, itf.name) && Same(s.member.name, member.name) &&
                       s.member.kind == member.kind;
            });
            if (scenario) continue;
            const Exemption* exemption = nullptr;
            for (const Exemption& e : kExemptions)
                if (Same(e.interfaceName, itf.name) && Same(e.name, member.name)) exemption = &e;
            EXPECT_TRUE(exemption) << itf.name << "." << member.name << " (accessor " << static_cast<int>(member.kind)
                                   << ") has neither a fault scenario nor an exemption with its reason";
            if (exemption) used.insert(exemption);
        }
    }
    for (const Exemption& e : kExemptions) {
        EXPECT_TRUE(*e.reason) << e.interfaceName << "." << e.name << ": an exemption says why";
        EXPECT_TRUE(used.count(&e)) << e.interfaceName << "." << e.name << " is exempt but names no member left without a scenario";
    }
    for (const FaultScenario& s : scenarios) {
        const catalogue::Interface* itf = catalogue::TheLibrary().FindInterface(s.member.interfaceName);
        const bool known = itf && std::any_of(itf->members.begin(), itf->members.end(), [&](const catalogue::Member& m) {
                               return Same(m.name, s.member.name) && m.kind == s.member.kind;
                           });
        EXPECT_TRUE(known) << s.what << " names no member of the catalogue";
    }
}

class PlatformFaultsTest : public ComTest {
protected:
    void TearDown() override {
        SetThreadExpansionSetting(VARIANT_FALSE);
        ComTest::TearDown();
    }

    // One run of the scenario in a fresh sandbox; `failAt` 0 fails nothing. Returns the number
    // of platform calls the member made.
    int Run(const FaultScenario& scenario, int failAt) {
        SCOPED_TRACE(std::string(scenario.what) + ", failing call " + std::to_string(failAt));
        SandboxPlatform sandbox;
        platform::ScopedPlatform scoped(sandbox);
        const long objectsBefore = module::LiveObjects();
        ComPtr<IDispatch> object = scenario.create();
        scenario.arrange(object.Get());
        sandbox.ResetCounts();
        sandbox.failWhen = [failAt](PlatformCall, int ordinal) { return ordinal == failAt; };
        CallResult result = scenario.act(object.Get());
        const std::vector<PlatformCall> failed = sandbox.Failed();
        sandbox.failWhen = nullptr;

        if (failAt == 0) {
            EXPECT_EQ(result.hr, S_OK) << "the member fails without a fault";
        }
        if (!failed.empty()) {
            covered_.insert(failed.front());
            if (ChangesState(failed.front()) && SUCCEEDED(result.hr)) {
                const bool boxed = scenario.silence == Silence::Box && sandbox.Count(PlatformCall::MessageBox) > 0;
                EXPECT_TRUE(boxed || scenario.silence == Silence::Quiet)
                    << "a failed " << NameOf(failed.front()) << " reported as success";
            }
        }
        if (FAILED(result.hr) && !scenario.errors.empty()) {
            const long number = ErrorOf(result).number;
            EXPECT_NE(std::find(scenario.errors.begin(), scenario.errors.end(), number), scenario.errors.end())
                << "error " << number << " after a failed " << (failed.empty() ? "nothing" : NameOf(failed.front()));
        }
        EXPECT_EQ(sandbox.OpenKeys(), 0) << "keys left open";
        EXPECT_EQ(sandbox.OpenProcesses(), 0) << "program handles left open";
        const int calls = sandbox.Calls();
        result = CallResult();
        object.Reset();
        EXPECT_EQ(module::LiveObjects(), objectsBefore) << "objects of the run still alive";
        return calls;
    }

    std::set<PlatformCall> covered_;
};

TEST_F(PlatformFaultsTest, EachPlatformCallFailingInTurnIsAnsweredAsDocumented) {
    const std::vector<FaultScenario> scenarios = Scenarios();
    std::vector<int> callsOf;
    for (const FaultScenario& scenario : scenarios) callsOf.push_back(Run(scenario, 0));  // also warms up

    int runs = 0;
    size_t outstanding = 0;
    {
        AllocationSpy spy;
        ASSERT_TRUE(spy.Installed());
        for (size_t s = 0; s < scenarios.size(); ++s)
            for (int failAt = 1; failAt <= callsOf[s]; ++failAt, ++runs) Run(scenarios[s], failAt);
        SetErrorInfo(0, nullptr);
        outstanding = spy.Outstanding();
    }
    std::string points;
    for (PlatformCall call : covered_) points += std::string(points.empty() ? "" : ", ") + NameOf(call);
    std::printf("[ faults   ] %zu members, %d runs with one failing call, points covered: %s\n", scenarios.size(), runs,
                points.c_str());
    EXPECT_EQ(outstanding, 0u) << "texts or arrays never freed";

    // Every kind of platform call the library makes was made to fail at least once.
    for (PlatformCall call : kAllPlatformCalls)
        EXPECT_TRUE(covered_.count(call)) << NameOf(call) << " never failed";
}

}  // namespace
}  // namespace zolbex
