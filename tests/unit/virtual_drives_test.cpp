// The virtual-drive members against a recording shell: which tools start with which command
// lines, working folder, owner and show command; when the label step runs; the presets'
// folders from the machine environment and, for the programs preset, from a stand-in
// file-system object in goFSO.
#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "environment_test_support.h"
#include "forwarding_platform.h"
#include "stand_in_objects.h"
#include "library/bstr.h"
#include "runtime/runtime_object.h"

namespace zolbex {
namespace {

using namespace testing;

constexpr wchar_t kWindir[] = L"C:\\windows";
constexpr wchar_t kSubst[] = L"C:\\windows\\System32\\subst.exe";
constexpr wchar_t kLabel[] = L"C:\\windows\\System32\\label.exe";
constexpr wchar_t kSystem[] = L"C:\\windows\\System32";

struct Started {
    HWND owner;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    int show;
    bool operator==(const Started& other) const {
        return owner == other.owner && file == other.file && parameters == other.parameters &&
               directory == other.directory && show == other.show;
    }
};
void PrintTo(const Started& s, std::ostream* out) {
    *out << ::testing::PrintToString(s.file) << " " << ::testing::PrintToString(s.parameters) << " in "
         << ::testing::PrintToString(s.directory) << " owner " << s.owner << " show " << s.show;
}

Started Subst(const std::wstring& parameters, HWND owner = nullptr) {
    return {owner, kSubst, parameters, kSystem, SW_SHOWNORMAL};
}
Started Label(const std::wstring& parameters, HWND owner = nullptr) {
    return {owner, kLabel, parameters, kSystem, SW_SHOWNORMAL};
}

// The shell as the drive members see it: programs are recorded, never started.
class ShellPlatform : public ForwardingPlatform {
public:
    HANDLE StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                        const std::wstring& directory, int show) override {
        started.push_back({owner, file, parameters, directory, show});
        return starts ? kProcess : nullptr;
    }
    bool WaitForProgram(HANDLE process, DWORD) override {
        EXPECT_EQ(process, kProcess);
        ++waits;
        return finishes;
    }
    void CloseProcess(HANDLE process) override {
        EXPECT_EQ(process, starts ? kProcess : nullptr);
        ++closed;
    }
    std::optional<std::wstring> DriveTarget(const std::wstring& drive) override {
        drivesAsked.push_back(drive);
        return target;
    }
    std::optional<std::wstring> ReadVariable(const std::wstring& name) override {
        if (name == L"WINDIR") return windir;
        return real().ReadVariable(name);
    }
    int ShowMessageBox(const std::wstring& text, const std::wstring&, UINT) override {
        boxes.push_back(text);
        return IDOK;
    }

    static inline const HANDLE kProcess = reinterpret_cast<HANDLE>(0x4321);
    std::vector<Started> started;
    std::vector<std::wstring> drivesAsked;
    std::vector<std::wstring> boxes;
    int waits = 0;
    int closed = 0;
    bool starts = true;                      // the shell starts the program
    bool finishes = true;                    // the substitution tool ends within the wait
    std::optional<std::wstring> target;      // what the drive maps after the substitution
    std::optional<std::wstring> windir = kWindir;
};

ValueAt MachineVariable(const wchar_t* name) { return {HKEY_LOCAL_MACHINE, kMachineEnvironment, name}; }

// A Boolean argument holding any raw value, such as 1 (not zero, yet not True).
Variant RawBool(VARIANT_BOOL raw) {
    Variant flag = Bool(false);
    V_BOOL(flag.Get()) = raw;
    return flag;
}

class VirtualDrivesTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        runtime_ = MakeObject<RunTimeObject>();
    }
    void TearDown() override {
        runtime_.Reset();
        ComTest::TearDown();
    }

    IDispatch* Runtime() { return static_cast<IDispatch*>(runtime_.Get()); }
    CallResult Call(const wchar_t* member, std::vector<Variant> args) {
        return CallMethod(Runtime(), member, std::move(args));
    }

    ShellPlatform shell_;
    platform::ScopedPlatform scoped_{shell_};
    SavedValues machine_{{MachineVariable(L"HVENVSROOT"), MachineVariable(L"HVENVSWIN"), MachineVariable(L"WINDRV")}};
    ComPtr<RunTimeObject> runtime_;
};

struct DriveCase {
    const char* what;
    std::vector<Variant> args;           // CreateVirtualDrive's, in order
    std::optional<std::wstring> target;  // the drive's target after the substitution
    bool starts = true;
    bool finishes = true;
    std::vector<Started> expected;
};

TEST_F(VirtualDrivesTest, CreateVirtualDriveStartsTheToolsAndLabelsOnlyAMappingThatTook) {
    const HWND owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234));
    const std::wstring mapped = L"\\??\\C:\\data";
    std::vector<DriveCase> cases;
    auto add = [&](const char* what, std::vector<Variant> args, std::optional<std::wstring> target,
                   std::vector<Started> expected, bool starts = true, bool finishes = true) {
        cases.push_back({what, std::move(args), std::move(target), starts, finishes, std::move(expected)});
    };
    add("mapping only", Args(Long(0), Text(L"X:"), Text(L"C:\\data")), mapped, {Subst(L"X: C:\\data")});
    add("owner window handed on", Args(Long(0x1234), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data", owner), Label(L"X: Data", owner)});
    add("label after the mapping took", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data"), Label(L"X: Data")});
    add("a label flag of 1 is not True", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), RawBool(1)),
        mapped, {Subst(L"X: C:\\data")});
    add("label flag False", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(false)), mapped,
        {Subst(L"X: C:\\data")});
    add("empty label", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L""), Bool(true)), mapped,
        {Subst(L"X: C:\\data")});
    add("omitted label", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Missing(), Bool(true)), mapped,
        {Subst(L"X: C:\\data")});
    add("mapping did not take", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        std::nullopt, {Subst(L"X: C:\\data")});
    add("drive belongs to another volume", Args(Long(0), Text(L"C:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        L"\\Device\\HarddiskVolume1", {Subst(L"C: C:\\data")});
    add("drive maps another folder", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        L"\\??\\C:\\other", {Subst(L"X: C:\\data")});
    add("substitution tool still running", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data")}, true, false);
    add("substitution tool not started", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data")}, false);
    add("target differs in case and trailing backslash",
        Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)), L"\\??\\c:\\DATA\\",
        {Subst(L"X: C:\\data"), Label(L"X: Data")});
    add("folder with a blank is quoted", Args(Long(0), Text(L"X:"), Text(L"C:\\My Data"), Text(L"My label"), Bool(true)),
        L"\\??\\C:\\My Data", {Subst(L"X: \"C:\\My Data\""), Label(L"X: My label")});
    add("folder with a blank and a trailing backslash",
        Args(Long(0), Text(L"X:"), Text(L"C:\\My Data\\"), Text(L"L"), Bool(true)), L"\\??\\C:\\My Data\\",
        {Subst(L"X: \"C:\\My Data\\\\\""), Label(L"X: L")});
    add("quoted folder stays as given", Args(Long(0), Text(L"X:"), Text(L"\"C:\\My Data\""), Text(L"L"), Bool(true)),
        L"\\??\\C:\\My Data", {Subst(L"X: \"C:\\My Data\""), Label(L"X: L")});
    add("drive text used unchanged", Args(Long(0), Text(L"x"), Text(L"C:\\data")), mapped, {Subst(L"x C:\\data")});

    for (DriveCase& c : cases) {
        SCOPED_TRACE(c.what);
        shell_.started.clear();
        shell_.waits = shell_.closed = 0;
        shell_.target = c.target;
        shell_.starts = c.starts;
        shell_.finishes = c.finishes;
        CallResult result = Call(L"CreateVirtualDrive", std::move(c.args));
        ASSERT_EQ(result.hr, S_OK) << ::testing::PrintToString(ErrorOf(result).description);
        EXPECT_EQ(shell_.started, c.expected);
        EXPECT_EQ(shell_.closed, static_cast<int>(shell_.started.size())) << "every process handle is closed";
    }
}

TEST_F(VirtualDrivesTest, WithoutTheLabelStepNothingWaitsForTheSubstitution) {
    shell_.target = L"\\??\\C:\\data";
    ASSERT_EQ(Call(L"CreateVirtualDrive", Args(Long(0), Text(L"X:"), Text(L"C:\\data"))).hr, S_OK);
    EXPECT_EQ(shell_.waits, 0);
    EXPECT_TRUE(shell_.drivesAsked.empty());
    ASSERT_EQ(Call(L"CreateVirtualDrive", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"D"), Bool(true))).hr,
              S_OK);
    EXPECT_EQ(shell_.waits, 1);
    EXPECT_EQ(shell_.drivesAsked, std::vector<std::wstring>{L"X:"});
}

TEST_F(VirtualDrivesTest, WithoutWindirTheToolsAreLookedForBelowTheCurrentDrive) {
    shell_.windir = std::nullopt;
    ASSERT_EQ(Call(L"CreateVirtualDrive", Args(Long(0), Text(L"X:"), Text(L"C:\\data"))).hr, S_OK);
    EXPECT_EQ(shell_.started, (std::vector<Started>{{nullptr, L"\\System32\\subst.exe", L"X: C:\\data", L"\\System32",
                                                     SW_SHOWNORMAL}}));
}

TEST_F(VirtualDrivesTest, PresetsMapTheirMachineVariablesFolderAndLabelIt) {
    PutText(MachineVariable(L"HVENVSROOT"), L"C:\\Suite");
    PutText(MachineVariable(L"HVENVSWIN"), L"%SystemRoot%", REG_EXPAND_SZ);
    const struct {
        const char* what;
        const wchar_t* member;
        std::vector<Variant> args;
        const wchar_t* target;
        std::vector<Started> expected;
    } cases[] = {
        {"root preset, defaults", L"CreateVirtualDriveHV", Args(Long(0)), L"\\??\\C:\\Suite", {Subst(L"Z: C:\\Suite")}},
        {"root preset, labelled", L"CreateVirtualDriveHV", Args(Long(0), Missing(), Bool(true)), L"\\??\\C:\\Suite",
         {Subst(L"Z: C:\\Suite"), Label(L"Z: Vesk")}},
        {"root preset, own drive", L"CreateVirtualDriveHV", Args(Long(0), Text(L"Q:"), Bool(true)), L"\\??\\C:\\Suite",
         {Subst(L"Q: C:\\Suite"), Label(L"Q: Vesk")}},
        {"root preset, label flag 1", L"CreateVirtualDriveHV", Args(Long(0), Missing(), RawBool(1)), L"\\??\\C:\\Suite",
         {Subst(L"Z: C:\\Suite")}},
        // The value is used as EnvironGet returns it without resolving a leading reference.
        {"Windows preset", L"CreateVirtualDriveHVWin", Args(Long(0), Missing(), Bool(true)),
         L"\\??\\%SystemRoot%", {Subst(L"Y: %SystemRoot%"), Label(L"Y: Windows")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shell_.started.clear();
        shell_.target = c.target;
        std::vector<Variant> args;
        for (const Variant& v : c.args) {
            Variant copy;
            VariantCopy(copy.Get(), const_cast<VARIANT*>(v.Get()));
            args.push_back(std::move(copy));
        }
        CallResult result = Call(c.member, std::move(args));
        ASSERT_EQ(result.hr, S_OK) << ::testing::PrintToString(ErrorOf(result).description);
        EXPECT_EQ(shell_.started, c.expected);
    }
    EXPECT_TRUE(shell_.boxes.empty());
}

TEST_F(VirtualDrivesTest, APresetVariableWithoutValueGivesTheDriveAndABlank) {
    RemoveValue(MachineVariable(L"HVENVSROOT"));
    ASSERT_EQ(Call(L"CreateVirtualDriveHV", Args(Long(0))).hr, S_OK);
    EXPECT_EQ(shell_.started, std::vector<Started>{Subst(L"Z: ")});
}

TEST_F(VirtualDrivesTest, ProgramsPresetMapsTheShortPathFromGoFSO) {
    PutText(MachineVariable(L"WINDRV"), L"C:");
    auto* fileSystem = new StandInFileSystem(
        std::map<std::wstring, std::wstring>{{L"C:\\Program Files\\Halvern", L"C:\\PROGRA~1\\HALVERN"}});
    ASSERT_EQ(runtime_->putref_goFSO(fileSystem), S_OK);
    shell_.target = L"\\??\\C:\\PROGRA~1\\HALVERN";

    ASSERT_EQ(Call(L"CreateVirtualDriveHVPro", Args(Long(0), Missing(), Bool(true))).hr, S_OK);
    EXPECT_EQ(fileSystem->asked, std::vector<std::wstring>{L"C:\\Program Files\\Halvern"});
    EXPECT_EQ(shell_.started, (std::vector<Started>{Subst(L"W: C:\\PROGRA~1\\HALVERN"), Label(L"W: Programs")}));
    fileSystem->Release();
}

TEST_F(VirtualDrivesTest, ProgramsPresetPassesAMissingFolderErrorOnAndStartsNothing) {
    PutText(MachineVariable(L"WINDRV"), L"D:");
    auto* fileSystem = new StandInFileSystem(std::map<std::wstring, std::wstring>{});
    ASSERT_EQ(runtime_->putref_goFSO(fileSystem), S_OK);

    ErrorSeen error = ErrorOf(Call(L"CreateVirtualDriveHVPro", Args(Long(0))));
    EXPECT_EQ(error.number, 76);
    EXPECT_EQ(error.source, L"Microsoft VBScript runtime error");
    EXPECT_EQ(error.description, L"Path not found");
    EXPECT_EQ(fileSystem->asked, std::vector<std::wstring>{L"D:\\Program Files\\Halvern"});
    EXPECT_TRUE(shell_.started.empty());
    fileSystem->Release();
}

}  // namespace
}  // namespace zolbex
