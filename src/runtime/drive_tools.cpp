#include "runtime/drive_tools.h"

#include <string_view>
#include <utility>

#include "platform/platform.h"
#include "runtime/drive_name.h"

namespace zolbex {
namespace {

// How long the label step waits for the substitution tool before giving up on it.
constexpr DWORD kSubstitutionWait = 15000;

// A started tool's process handle, closed at the end of its scope.
class StartedTool {
public:
    explicit StartedTool(HANDLE process) : process_(process) {}
    ~StartedTool() { platform::Current().CloseProcess(process_); }
    StartedTool(const StartedTool&) = delete;
    StartedTool& operator=(const StartedTool&) = delete;

    // Whether the tool ran to its end within `milliseconds`.
    bool Finished(DWORD milliseconds) const {
        return process_ && platform::Current().WaitForProgram(process_, milliseconds);
    }

private:
    HANDLE process_;
};

// WINDIR\System32, read afresh from the process environment each time (a missing WINDIR
// leaves "\System32" on the current drive).
std::wstring SystemFolder() {
    return platform::Current().ReadVariable(L"WINDIR").value_or(std::wstring()) + L"\\System32";
}

HANDLE StartTool(HWND owner, const wchar_t* file, const std::wstring& parameters) {
    return platform::Current().StartProgram(owner, SystemFolder() + L"\\" + file, parameters, SystemFolder(),
                                            SW_SHOWNORMAL);
}

std::wstring_view WithoutTrailingBackslash(std::wstring_view path) {
    while (path.size() > 1 && path.back() == L'\\') path.remove_suffix(1);
    return path;
}

}  // namespace

std::wstring FolderArgument(const std::wstring& folder) {
    if (folder.find(L' ') == std::wstring::npos || folder.front() == L'"') return folder;
    // Backslashes right before the closing quote would escape it when the tool splits its
    // command line ("C:\My Data\" would arrive as C:\My Data"), so a trailing run is doubled.
    const size_t trailing = folder.size() - 1 - folder.find_last_not_of(L'\\');
    return L"\"" + folder + std::wstring(trailing, L'\\') + L"\"";
}

bool TargetIsFolder(const std::wstring& target, const std::wstring& folder) {
    std::wstring_view mapped = target;
    if (mapped.substr(0, 4) == L"\\??\\") mapped.remove_prefix(4);
    std::wstring_view wanted = folder;
    if (wanted.size() >= 2 && wanted.front() == L'"' && wanted.back() == L'"') wanted = wanted.substr(1, wanted.size() - 2);
    mapped = WithoutTrailingBackslash(mapped);
    wanted = WithoutTrailingBackslash(wanted);
    if (wanted.empty()) return false;
    return CompareStringOrdinal(mapped.data(), static_cast<int>(mapped.size()), wanted.data(),
                                static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

void MakeVirtualDrive(const VirtualDriveRequest& request) {
    StartedTool substitution(StartTool(request.owner, L"subst.exe", request.drive + L" " + FolderArgument(request.folder)));
    // A drive is never named with an empty label.
    if (!request.relabel || request.label.empty()) return;
    if (!substitution.Finished(kSubstitutionWait)) return;
    const std::optional<std::wstring> target = platform::Current().DriveTarget(request.drive);
    if (!target || !TargetIsFolder(*target, request.folder)) return;
    NameDrive(request.drive, request.label);
}

}  // namespace zolbex
