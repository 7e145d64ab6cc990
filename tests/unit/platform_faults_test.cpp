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
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "allocation_spy.h"
#include "com_test_support.h"
#include "environment_test_support.h"
#include "library/class_table.h"
#include "registry/registry_error.h"
#include "library/expansion_setting.h"
#include "sandbox_platform.h"

namespace zolbex {
namespace {

using namespace testing;

constexpr LONG kClassesRoot = -2147483647 - 1;
constexpr LONG kUser = -2147483647;

// What a member may do instead of failing when a change of stored state fails.
enum class Silence {
    None,   // it must fail
    Box,    // it reports the failure in a message box and returns normally (the facade)
    Quiet,  // documented: the failure goes unnoticed
};

struct FaultScenario {
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

void PointAtScratch(IDispatch* registry) { PointAt(registry, kUser, L"Software\\Faults", L"v", REG_SZ); }

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
        PointAt(registry, kUser, L"Software\\Faults\\a", L"", REG_SZ);
        CallMethod(registry, L"CreateKey");
        PointAt(registry, kUser, L"Software\\Faults\\b", L"", REG_SZ);
        CallMethod(registry, L"CreateKey");
        PointAt(registry, kUser, L"Software\\Faults", L"", REG_SZ);
    };
    auto withClass = [](IDispatch* registry) {
        CallMethod(registry, L"CreateEXEAssociation",
                   Args(Text(L"C:\\app.exe"), Text(L"Fault.Doc"), Text(L"Fault document"), Text(L".fdoc")));
        PutProperty(registry, L"ClassKey", Args(Long(kClassesRoot)));
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
        {"KeyExists", NewRegistry, withValues, [](IDispatch* r) { return GetProperty(r, L"KeyExists"); }, Silence::None, kRegistryErrors},
        {"CreateKey", NewRegistry, PointAtScratch, [](IDispatch* r) { return CallMethod(r, L"CreateKey"); }, Silence::None, kRegistryErrors},
        {"DeleteKey", NewRegistry, withSections,
         [](IDispatch* r) {
             PutProperty(r, L"SectionKey", Args(Text(L"Software\\Faults\\a")));
             return CallMethod(r, L"DeleteKey");
         },
         Silence::None, kRegistryErrors},
        {"DeleteValue", NewRegistry, withValues, [](IDispatch* r) { return CallMethod(r, L"DeleteValue"); }, Silence::None, kRegistryErrors},
        // A text that cannot be expanded whole fails the read.
        {"Value get, expanded", NewRegistry, withValues, [](IDispatch* r) { return GetProperty(r, L"Value"); }, Silence::None,
         {kRegistryKeyError, kValueWriteError, kListingError, kOutOfStringSpace}},
        {"Value let, text", NewRegistry, PointAtScratch, [](IDispatch* r) { return PutProperty(r, L"Value", Args(Text(L"t"))); }, Silence::None, kRegistryErrors},
        {"WriteKey, number", NewRegistry,
         [](IDispatch* r) { PointAt(r, kUser, L"Software\\Faults", L"n", REG_DWORD); },
         [](IDispatch* r) { return CallMethod(r, L"WriteKey", Args(Long(7), Text(L"n2"))); }, Silence::None, kRegistryErrors},
        {"ReadKey", NewRegistry, withValues,
         [](IDispatch* r) { return CallMethod(r, L"ReadKey", Args(Text(L"v"), Text(L"Software\\Faults"), Long(kUser), Text(L"d"))); },
         Silence::None, kRegistryErrors},
        {"EnumerateValues", NewRegistry, withValues, listing(L"EnumerateValues"), Silence::None, kRegistryErrors},
        {"EnumerateSections", NewRegistry, withSections, listing(L"EnumerateSections"), Silence::None, kRegistryErrors},
        {"CreateEXEAssociation", NewRegistry, nothing,
         [](IDispatch* r) {
             return CallMethod(r, L"CreateEXEAssociation",
                               Args(Text(L"C:\\app.exe"), Text(L"Fault.Doc"), Text(L"Fault document"), Text(L".fdoc"),
                                    Text(L"&Open"), Bool(true), Text(L"&Print"), Bool(true), Text(L"&New"), Bool(true),
                                    Text(L"&Install"), Long(2)));
         },
         Silence::None, kRegistryErrors},
        {"CreateAdditionalEXEAssociations", NewRegistry, withClass,
         [](IDispatch* r) {
             return CallMethod(r, L"CreateAdditionalEXEAssociations",
                               Args(Text(L"Fault.Doc"), Text(L"edit"), Text(L"&Edit"), Text(L"edit.exe %1")));
         },
         Silence::Quiet, {}},
        {"process Environment get", NewProcessScope, nothing, [](IDispatch* p) { return GetProperty(p, L"Environment", Args(Text(L"PATH"))); }, Silence::None, {}},
        {"process Environment let", NewProcessScope, nothing,
         [](IDispatch* p) { return PutProperty(p, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"1"))); }, Silence::Quiet, {}},
        {"process List", NewProcessScope, nothing, [](IDispatch* p) { return GetProperty(p, L"List"); }, Silence::None, {}},
        {"user Environment get", NewUserScope, nothing, [](IDispatch* u) { return GetProperty(u, L"Environment", Args(Text(L"TEMP"))); }, Silence::None, kRegistryErrors},
        {"user Environment let", NewUserScope, nothing,
         [](IDispatch* u) { return PutProperty(u, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"%TEMP%\\x"))); }, Silence::None, kRegistryErrors},
        {"user List", NewUserScope,
         [](IDispatch* u) { PutProperty(u, L"Environment", Args(Text(L"A"), Text(L"1"))); },
         [](IDispatch* u) { return GetProperty(u, L"List"); }, Silence::None, kRegistryErrors},
        {"system Environment let", NewSystemScope, nothing,
         [](IDispatch* s) { return PutProperty(s, L"Environment", Args(Text(L"ZOLBEX11_FAULT"), Text(L"2"))); }, Silence::None, kRegistryErrors},
        {"EnvironGet", NewRunTime, nothing, facade(L"EnvironGet", 1, {L"TEMP"}), Silence::Box, {}},
        {"EnvironSet, user", NewRunTime, nothing, facade(L"EnvironSet", 1, {L"ZOLBEX11_FAULT", L"%A%b"}), Silence::Box, {}},
        // The process scope does not look at the result of setting a variable.
        {"EnvironSet, process", NewRunTime, nothing, facade(L"EnvironSet", 0, {L"ZOLBEX11_FAULT", L"3"}), Silence::Quiet, {}},
        // A value with a single "%" is stored, then reported in a box (error 9).
        {"EnvironSet, reported", NewRunTime, nothing, facade(L"EnvironSet", 1, {L"ZOLBEX11_FAULT", L"%x"}), Silence::Box, {}},
        {"EnvironList, machine", NewRunTime, nothing, facade(L"EnvironList", 2, {}), Silence::Box, {}},
        {"CreateVirtualDrive", NewRunTime, nothing,
         [](IDispatch* rt) {
             return CallMethod(rt, L"CreateVirtualDrive", Args(Long(0), Text(L"Q:"), Text(SandboxPlatform::kKnownShortFolder),
                                                                Text(L"Label"), Bool(true)));
         },
         Silence::Quiet, {}},
        {"CreateVirtualDriveHVPro", NewRunTime, nothing,
         [](IDispatch* rt) { return CallMethod(rt, L"CreateVirtualDriveHVPro", Args(Long(0), Text(L"W:"), Bool(true))); },
         Silence::Quiet, {}},
        {"goFSO get", NewRunTime, nothing, [](IDispatch* rt) { return GetProperty(rt, L"goFSO"); }, Silence::None, {}},
    };
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
    for (PlatformCall call : {PlatformCall::OpenKey, PlatformCall::CreateKey, PlatformCall::CloseKey, PlatformCall::DeleteKey,
                              PlatformCall::DeleteValue, PlatformCall::QueryValue, PlatformCall::SetValue,
                              PlatformCall::QueryKeyInfo, PlatformCall::EnumValueName, PlatformCall::EnumValue,
                              PlatformCall::EnumKeyName,
                              PlatformCall::ExpandText, PlatformCall::ReadVariable, PlatformCall::WriteVariable,
                              PlatformCall::EnvironmentEntries, PlatformCall::Broadcast, PlatformCall::MessageBox,
                              PlatformCall::CreateObject, PlatformCall::CreateFileSystem, PlatformCall::ReadSetting,
                              PlatformCall::SaveSetting, PlatformCall::StartProgram, PlatformCall::WaitForProgram,
                              PlatformCall::CloseProcess, PlatformCall::DriveTarget, PlatformCall::NotifyAssociations,
                              PlatformCall::NotifyDrive, PlatformCall::WindowStation})
        EXPECT_TRUE(covered_.count(call)) << NameOf(call) << " never failed";
}

}  // namespace
}  // namespace zolbex
