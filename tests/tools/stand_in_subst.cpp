// A stand-in for the system's drive substitution tool, for the virtual-drive tests (Wine's own
// subst.exe is a stub). Records its run, then does what the tool does:
//   subst <drive> <folder>   maps the drive to the folder's full path
//   subst <drive> /D         removes the mapping
// It refuses a drive that is already defined and any other number of arguments (so a folder
// with an unquoted blank fails, as with the real tool), exiting with 1.
#include <windows.h>
#include <shellapi.h>

#include "tool_log.h"

namespace {

int Substitute(const wchar_t* drive, const wchar_t* folder) {
    wchar_t existing[MAX_PATH];
    if (QueryDosDeviceW(drive, existing, MAX_PATH)) return 1;  // already in use
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(folder, MAX_PATH, full, nullptr)) return 1;
    const DWORD attributes = GetFileAttributesW(full);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return 1;
    return DefineDosDeviceW(0, drive, full) ? 0 : 1;
}

}  // namespace

int wmain() {
    zolbex::tools::RecordRun(L"subst");
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    int result = 1;
    if (args && count == 3) {
        if (CompareStringOrdinal(args[2], -1, L"/D", -1, TRUE) == CSTR_EQUAL)
            result = DefineDosDeviceW(DDD_REMOVE_DEFINITION, args[1], nullptr) ? 0 : 1;
        else
            result = Substitute(args[1], args[2]);
    }
    LocalFree(args);
    return result;
}
