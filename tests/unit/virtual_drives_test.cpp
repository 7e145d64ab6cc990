// The virtual-drive members against a recording shell: which tools start with which command
// lines, working folder, owner and show command; when the label step names the drive, and that
// it never starts the label tool; the presets' folders from the machine environment and, for
// the programs preset, from a stand-in file-system object in goFSO.
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
// A drive's name as written to where Explorer reads it, and the shell notice that followed.
struct NameWrite {
    std::wstring key;  // below HKEY_LOCAL_MACHINE
    REGSAM access;
    std::wstring valueName;
    DWORD type;
    std::wstring text;
    std::wstring notified;  // the root the shell was told about
    bool operator==(const NameWrite& o) const {
        return key == o.key && access == o.access && valueName == o.valueName && type == o.type && text == o.text &&
               notified == o.notified;
    }
};
void PrintTo(const NameWrite& n, std::ostream* out) {
    *out << ::testing::PrintToString(n.key) << " access " << n.access << " value "
         << ::testing::PrintToString(n.valueName) << " type " << n.type << " text " << ::testing::PrintToString(n.text)
         << " notified " << ::testing::PrintToString(n.notified);
}

constexpr wchar_t kDriveIcons[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\";

NameWrite Named(const std::wstring& letter, const std::wstring& label) {
    return {kDriveIcons + letter + L"\\DefaultLabel", KEY_SET_VALUE | KEY_WOW64_64KEY, L"", REG_SZ, label,
            letter + L":\\"};
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
    // The drive's name: the key below DriveIcons is never really created.
    LONG CreateKey(HKEY root, const std::wstring& path, REGSAM access, HKEY* key) override {
        if (root != HKEY_LOCAL_MACHINE || path.rfind(kDriveIcons, 0) != 0)
            return ForwardingPlatform::CreateKey(root, path, access, key);
        *key = nullptr;
        if (refusesNames) return ERROR_ACCESS_DENIED;
        named.push_back({path, access, L"", REG_NONE, L"", L""});
        *key = kNameKey;
        return ERROR_SUCCESS;
    }
    LONG SetValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD size) override {
        if (key != kNameKey) return ForwardingPlatform::SetValue(key, name, type, data, size);
        EXPECT_EQ(size % sizeof(wchar_t), 0u);
        const std::wstring stored(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
        EXPECT_EQ(stored.back(), L'\0') << "the name is stored with its terminator";
        named.back().valueName = name;
        named.back().type = type;
        named.back().text = stored.substr(0, stored.size() - 1);
        return ERROR_SUCCESS;
    }
    LONG CloseKey(HKEY key) override {
        return key == kNameKey ? ERROR_SUCCESS : ForwardingPlatform::CloseKey(key);
    }
    void NotifyDriveChanged(const std::wstring& root) override {
        ASSERT_FALSE(named.empty()) << "a notice without a name";
        named.back().notified = root;
    }

    static inline const HANDLE kProcess = reinterpret_cast<HANDLE>(0x4321);
    static inline const HKEY kNameKey = reinterpret_cast<HKEY>(0x6543);
    std::vector<Started> started;
    std::vector<NameWrite> named;
    bool refusesNames = false;               // the name's key cannot be written (no administrator)
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
    std::vector<NameWrite> named;
};

TEST_F(VirtualDrivesTest, CreateVirtualDriveStartsTheToolsAndLabelsOnlyAMappingThatTook) {
    const HWND owner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234));
    const std::wstring mapped = L"\\??\\C:\\data";
    std::vector<DriveCase> cases;
    auto add = [&](const char* what, std::vector<Variant> args, std::optional<std::wstring> target,
                   std::vector<Started> expected, std::vector<NameWrite> named = {}, bool starts = true,
                   bool finishes = true) {
        cases.push_back({what, std::move(args), std::move(target), starts, finishes, std::move(expected),
                         std::move(named)});
    };
    add("mapping only", Args(Long(0), Text(L"X:"), Text(L"C:\\data")), mapped, {Subst(L"X: C:\\data")});
    add("owner window handed on", Args(Long(0x1234), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data", owner)}, {Named(L"X", L"Data")});
    add("label after the mapping took", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data")}, {Named(L"X", L"Data")});
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
        mapped, {Subst(L"X: C:\\data")}, {}, true, false);
    add("substitution tool not started", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"X: C:\\data")}, {}, false);
    add("target differs in case and trailing backslash",
        Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)), L"\\??\\c:\\DATA\\",
        {Subst(L"X: C:\\data")}, {Named(L"X", L"Data")});
    add("folder with a blank is quoted", Args(Long(0), Text(L"X:"), Text(L"C:\\My Data"), Text(L"My label"), Bool(true)),
        L"\\??\\C:\\My Data", {Subst(L"X: \"C:\\My Data\"")}, {Named(L"X", L"My label")});
    add("folder with a blank and a trailing backslash",
        Args(Long(0), Text(L"X:"), Text(L"C:\\My Data\\"), Text(L"L"), Bool(true)), L"\\??\\C:\\My Data\\",
        {Subst(L"X: \"C:\\My Data\\\\\"")}, {Named(L"X", L"L")});
    add("quoted folder stays as given", Args(Long(0), Text(L"X:"), Text(L"\"C:\\My Data\""), Text(L"L"), Bool(true)),
        L"\\??\\C:\\My Data", {Subst(L"X: \"C:\\My Data\"")}, {Named(L"X", L"L")});
    add("lower-case drive letter names its capital", Args(Long(0), Text(L"x:"), Text(L"C:\\data"), Text(L"Data"), Bool(true)),
        mapped, {Subst(L"x: C:\\data")}, {Named(L"X", L"Data")});
    add("drive text used unchanged", Args(Long(0), Text(L"x"), Text(L"C:\\data")), mapped, {Subst(L"x C:\\data")});

    for (DriveCase& c : cases) {
        SCOPED_TRACE(c.what);
        shell_.started.clear();
        shell_.named.clear();
        shell_.waits = shell_.closed = 0;
        shell_.target = c.target;
        shell_.starts = c.starts;
        shell_.finishes = c.finishes;
        CallResult result = Call(L"CreateVirtualDrive", std::move(c.args));
        ASSERT_EQ(result.hr, S_OK) << ::testing::PrintToString(ErrorOf(result).description);
        EXPECT_EQ(shell_.started, c.expected);
        EXPECT_EQ(shell_.named, c.named);
        EXPECT_EQ(shell_.closed, static_cast<int>(shell_.started.size())) << "every process handle is closed";
    }
}

// Naming a drive needs administrator rights: refused, the step does nothing and says nothing.
TEST_F(VirtualDrivesTest, ARefusedNameLeavesTheDriveUnnamedSilently) {
    shell_.target = L"\\??\\C:\\data";
    shell_.refusesNames = true;
    ASSERT_EQ(Call(L"CreateVirtualDrive", Args(Long(0), Text(L"X:"), Text(L"C:\\data"), Text(L"D"), Bool(true))).hr,
              S_OK);
    EXPECT_EQ(shell_.started, std::vector<Started>{Subst(L"X: C:\\data")});
    EXPECT_TRUE(shell_.named.empty());
    EXPECT_TRUE(shell_.boxes.empty());
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
        std::vector<NameWrite> named;
    } cases[] = {
        {"root preset, defaults", L"CreateVirtualDriveHV", Args(Long(0)), L"\\??\\C:\\Suite", {Subst(L"Z: C:\\Suite")}, {}},
        {"root preset, labelled", L"CreateVirtualDriveHV", Args(Long(0), Missing(), Bool(true)), L"\\??\\C:\\Suite",
         {Subst(L"Z: C:\\Suite")}, {Named(L"Z", L"Vesk")}},
        {"root preset, own drive", L"CreateVirtualDriveHV", Args(Long(0), Text(L"Q:"), Bool(true)), L"\\??\\C:\\Suite",
         {Subst(L"Q: C:\\Suite")}, {Named(L"Q", L"Vesk")}},
        {"root preset, label flag 1", L"CreateVirtualDriveHV", Args(Long(0), Missing(), RawBool(1)), L"\\??\\C:\\Suite",
         {Subst(L"Z: C:\\Suite")}, {}},
        // The value is used as EnvironGet returns it without resolving a leading reference.
        {"Windows preset", L"CreateVirtualDriveHVWin", Args(Long(0), Missing(), Bool(true)),
         L"\\??\\%SystemRoot%", {Subst(L"Y: %SystemRoot%")}, {Named(L"Y", L"Windows")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shell_.started.clear();
        shell_.named.clear();
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
        EXPECT_EQ(shell_.named, c.named);
    }
    EXPECT_TRUE(shell_.boxes.empty());
}

// A vtable caller leaves the drive out with a null pointer: each preset's declared default.
TEST_F(VirtualDrivesTest, PresetsCalledThroughTheVtableWithoutADriveUseTheirDefault) {
    PutText(MachineVariable(L"HVENVSROOT"), L"C:\\Suite");
    PutText(MachineVariable(L"HVENVSWIN"), L"C:\\Windows");
    LONG owner = 0;
    ASSERT_EQ(runtime_->CreateVirtualDriveHV(&owner, nullptr, nullptr), S_OK);
    ASSERT_EQ(runtime_->CreateVirtualDriveHVWin(&owner, nullptr, nullptr), S_OK);
    EXPECT_EQ(shell_.started, (std::vector<Started>{Subst(L"Z: C:\\Suite"), Subst(L"Y: C:\\Windows")}));
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
    EXPECT_EQ(shell_.started, (std::vector<Started>{Subst(L"W: C:\\PROGRA~1\\HALVERN")}));
    EXPECT_EQ(shell_.named, std::vector<NameWrite>{Named(L"W", L"Programs")});
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
