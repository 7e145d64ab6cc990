// The virtual-drive members with real processes: stand-in subst.exe and label.exe (built from
// tests/tools) are copied into the prefix's system32 and record how they were started; the
// stand-in subst really maps the drive, so the label step's check of the mapping is exercised
// end to end, and the stand-in label.exe shows that the volume-label tool is never started. The
// label step names the drive in the real registry. Every mapping and name made here is removed
// again.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "library/bstr.h"
#include "runtime/runtime_object.h"

namespace zolbex {
namespace {

using namespace testing;

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

std::wstring SystemFolder() {
    wchar_t path[MAX_PATH];
    GetSystemDirectoryW(path, MAX_PATH);
    return path;
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, path);
    return std::wstring(path, n > 0 && path[n - 1] == L'\\' ? n - 1 : n);
}

std::optional<std::wstring> Variable(const wchar_t* name) {
    wchar_t value[4096];
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetEnvironmentVariableW(name, value, 4096);
    if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::wstring(value, n);
}

void SetVariable(const wchar_t* name, const std::optional<std::wstring>& value) {
    SetEnvironmentVariableW(name, value ? value->c_str() : nullptr);
}

constexpr wchar_t kDriveIcons[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\DriveIcons\\";

// The name Explorer would show for a drive ("Z:"), from the 64-bit registry view.
std::optional<std::wstring> DriveName(const std::wstring& drive) {
    wchar_t name[256];
    DWORD size = sizeof name;
    const std::wstring key = kDriveIcons + drive.substr(0, 1) + L"\\DefaultLabel";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"", RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, name,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(name);
}

void RemoveDriveName(const std::wstring& drive) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kDriveIcons + drive.substr(0, 1)).c_str());
}

std::optional<std::wstring> Target(const std::wstring& drive) {
    wchar_t target[MAX_PATH];
    if (!QueryDosDeviceW(drive.c_str(), target, MAX_PATH)) return std::nullopt;
    return std::wstring(target);
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// Waits until no stand-in tool runs any more, so that everything a call started has recorded
// its run (the library does not wait for the label tool).
void WaitForTools() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (!SameText(entry.szExeFile, L"subst.exe") && !SameText(entry.szExeFile, L"label.exe")) continue;
        if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            EXPECT_EQ(WaitForSingleObject(process, 60000), WAIT_OBJECT_0) << "a tool did not end";
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

// Wine's load-order setting for subst.exe.
std::optional<std::wstring> NativeOverride() {
    wchar_t value[64];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kOverrides, L"subst.exe", RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

void SetNativeOverride(const std::optional<std::wstring>& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (value)
        RegSetValueExW(key, L"subst.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
    else
        RegDeleteValueW(key, L"subst.exe");
    RegCloseKey(key);
}

// Counts the dialog windows (a message box above all) this thread tries to create while it
// lives, and refuses them, so a box that should not appear cannot wait for a click.
class DialogCounter {
public:
    DialogCounter() : hook_(SetWindowsHookExW(WH_CBT, &Watch, nullptr, GetCurrentThreadId())) { count_ = 0; }
    ~DialogCounter() { UnhookWindowsHookEx(hook_); }
    DialogCounter(const DialogCounter&) = delete;
    DialogCounter& operator=(const DialogCounter&) = delete;
    bool Watching() const { return hook_ != nullptr; }
    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const wchar_t* windowClass = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->lpszClass;
            constexpr ULONG_PTR kDialogAtom = 0x8002;  // WC_DIALOG, the class "#32770"
            const bool dialog = IS_INTRESOURCE(windowClass) ? reinterpret_cast<ULONG_PTR>(windowClass) == kDialogAtom
                                                            : SameText(windowClass, L"#32770");
            if (dialog) {
                ++count_;
                return 1;
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline int count_ = 0;
    HHOOK hook_;
};

// One recorded run of a stand-in tool.
struct ToolRun {
    std::wstring tool;
    std::wstring arguments;
    std::wstring folder;
};

class VirtualDriveToolsTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        system_ = SystemFolder();
        for (const wchar_t* tool : {L"subst", L"label"}) {
            const std::wstring installed = system_ + L"\\" + tool + L".exe";
            if (GetFileAttributesW(installed.c_str()) != INVALID_FILE_ATTRIBUTES) {
                ASSERT_TRUE(MoveFileExW(installed.c_str(), (installed + kSaved).c_str(), MOVEFILE_REPLACE_EXISTING));
            }
            ASSERT_TRUE(CopyFileW((ModuleFolder() + L"\\stand_in_" + tool + L".exe").c_str(), installed.c_str(), FALSE))
                << "stand-in " << ::testing::PrintToString(std::wstring(tool)) << " not built next to the tests";
        }
        log_ = TempFolder() + L"\\zolbex11-tool-runs.log";
        DeleteFileW(log_.c_str());
        savedLog_ = Variable(L"ZOLBEX11_TOOL_LOG");
        SetVariable(L"ZOLBEX11_TOOL_LOG", log_);
        // Wine runs its built-in subst over a file of that name unless told otherwise. A started
        // program takes its load order from the registry (WINEDLLOVERRIDES would have to be in
        // the environment this test process was started with).
        savedOverride_ = NativeOverride();
        SetNativeOverride(L"native");

        plain_ = TempFolder() + L"\\zolbex11-drive";
        blank_ = TempFolder() + L"\\zolbex11 drive";
        other_ = TempFolder() + L"\\zolbex11-other";
        for (const std::wstring* folder : {&plain_, &blank_, &other_}) CreateDirectoryW(folder->c_str(), nullptr);
        for (wchar_t letter = L'Q'; letter <= L'V' && drives_.size() < 2; ++letter) {
            const std::wstring drive{letter, L':'};
            if (!Target(drive) && !DriveName(drive)) drives_.push_back(drive);
        }
        ASSERT_EQ(drives_.size(), 2u) << "no free drive letters";
        runtime_ = MakeObject<RunTimeObject>();
    }

    void TearDown() override {
        runtime_.Reset();
        WaitForTools();
        for (const std::wstring& drive : drives_) {
            DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
            RemoveDriveName(drive);
        }
        for (const wchar_t* tool : {L"subst", L"label"}) {
            const std::wstring installed = system_ + L"\\" + tool + L".exe";
            DeleteFileW(installed.c_str());
            MoveFileExW((installed + kSaved).c_str(), installed.c_str(), MOVEFILE_REPLACE_EXISTING);
        }
        SetVariable(L"ZOLBEX11_TOOL_LOG", savedLog_);
        SetNativeOverride(savedOverride_);
        DeleteFileW(log_.c_str());
        for (const std::wstring* folder : {&plain_, &blank_, &other_}) RemoveDirectoryW(folder->c_str());
        ComTest::TearDown();
    }

    // CreateVirtualDrive through the vtable, so that any VARIANT_BOOL reaches the member as given.
    void MakeDrive(const std::wstring& drive, const std::wstring& folder, const std::wstring& label,
                   VARIANT_BOOL relabel) {
        LONG owner = 0;
        Bstr driveText(drive), folderText(folder), labelText(label);
        BSTR d = driveText.Get(), f = folderText.Get(), l = labelText.Get();
        ASSERT_EQ(runtime_->CreateVirtualDrive(&owner, &d, &f, &l, &relabel), S_OK);
        WaitForTools();
    }

    std::vector<ToolRun> Runs() const {
        std::vector<ToolRun> runs;
        HANDLE file = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return runs;
        std::string bytes(1 << 16, '\0');
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        std::wstring text(read, L'\0');
        text.resize(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(read), text.data(),
                                        static_cast<int>(text.size())));
        for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
            const std::wstring line = text.substr(start, end - start);
            const size_t first = line.find(L'|'), last = line.rfind(L'|');
            runs.push_back({line.substr(0, first), line.substr(first + 1, last - first - 1), line.substr(last + 1)});
        }
        return runs;
    }

    static constexpr wchar_t kSaved[] = L".zolbex11-saved";
    std::wstring system_, log_, plain_, blank_, other_;
    std::vector<std::wstring> drives_;
    std::optional<std::wstring> savedLog_, savedOverride_;
    ComPtr<RunTimeObject> runtime_;
};

TEST_F(VirtualDriveToolsTest, TheDriveIsMappedFromTheSystemFolderAndNamedWithoutTheLabelTool) {
    const std::wstring drive = drives_[0];
    MakeDrive(drive, plain_, L"Data", VARIANT_TRUE);

    const std::optional<std::wstring> target = Target(drive);
    ASSERT_TRUE(target.has_value()) << "the stand-in subst did not map the drive";
    EXPECT_TRUE(SameText(*target, L"\\??\\" + plain_)) << ::testing::PrintToString(*target);
    const std::vector<ToolRun> runs = Runs();
    ASSERT_EQ(runs.size(), 1u) << "the label tool would rename the volume that holds the folder";
    EXPECT_EQ(runs[0].tool, L"subst");
    EXPECT_EQ(runs[0].arguments, drive + L" " + plain_);
    EXPECT_TRUE(SameText(runs[0].folder, system_)) << ::testing::PrintToString(runs[0].folder);
    EXPECT_EQ(DriveName(drive), std::optional<std::wstring>(L"Data"));
}

// A tool that cannot be found leaves no trace: no error, and no box of the shell's waiting for
// a click (the folder named by WINDIR has no System32 here).
TEST_F(VirtualDriveToolsTest, AMissingToolStartsNothingAndShowsNoBox) {
    const std::optional<std::wstring> windir = Variable(L"WINDIR");
    SetVariable(L"WINDIR", other_);
    DialogCounter dialogs;
    ASSERT_TRUE(dialogs.Watching());
    MakeDrive(drives_[0], plain_, L"Data", VARIANT_TRUE);
    SetVariable(L"WINDIR", windir);
    EXPECT_EQ(dialogs.Count(), 0);
    EXPECT_TRUE(Runs().empty());
    EXPECT_FALSE(Target(drives_[0]).has_value());
}

TEST_F(VirtualDriveToolsTest, TheLabelStepNamesTheDriveOnlyForTrueAfterAMappingThatTook) {
    // The second drive already belongs to another folder: the stand-in subst refuses it.
    ASSERT_TRUE(DefineDosDeviceW(0, drives_[1].c_str(), other_.c_str()));
    const struct {
        const char* what;
        std::wstring drive;
        std::wstring folder;
        VARIANT_BOOL relabel;
        std::wstring arguments;               // what the substitution tool receives
        std::optional<std::wstring> mapped;   // the drive's folder afterwards
        bool named;
    } cases[] = {
        {"flag 1 is not True", drives_[0], plain_, 1, drives_[0] + L" " + plain_, plain_, false},
        {"flag True, folder with a blank", drives_[0], blank_, VARIANT_TRUE,
         drives_[0] + L" \"" + blank_ + L"\"", blank_, true},
        {"flag True, folder with a blank and a trailing backslash", drives_[0], blank_ + L"\\", VARIANT_TRUE,
         drives_[0] + L" \"" + blank_ + L"\\\\\"", blank_ + L"\\", true},
        {"folder that does not exist", drives_[0], plain_ + L"\\missing", VARIANT_TRUE,
         drives_[0] + L" " + plain_ + L"\\missing", std::nullopt, false},
        {"drive that belongs to another folder", drives_[1], plain_, VARIANT_TRUE, drives_[1] + L" " + plain_, other_,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteFileW(log_.c_str());
        MakeDrive(c.drive, c.folder, L"Data", c.relabel);

        const std::vector<ToolRun> runs = Runs();
        ASSERT_FALSE(runs.empty());
        EXPECT_EQ(runs[0].tool, L"subst");
        EXPECT_EQ(runs[0].arguments, c.arguments);
        EXPECT_EQ(runs.size(), 1u) << "the label tool is never started";
        EXPECT_EQ(DriveName(c.drive), c.named ? std::optional<std::wstring>(L"Data") : std::nullopt);
        RemoveDriveName(c.drive);
        const std::optional<std::wstring> target = Target(c.drive);
        EXPECT_EQ(target.has_value(), c.mapped.has_value());
        if (target && c.mapped) {
            EXPECT_TRUE(SameText(*target, L"\\??\\" + *c.mapped)) << ::testing::PrintToString(*target);
        }
        if (c.drive == drives_[0]) DefineDosDeviceW(DDD_REMOVE_DEFINITION, c.drive.c_str(), nullptr);
    }
}

}  // namespace
}  // namespace zolbex
