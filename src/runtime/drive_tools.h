// Mapping a folder to a drive letter with the system's drive substitution tool (subst.exe in
// WINDIR\System32), and naming the drive it made.
#pragma once

#include <windows.h>

#include <string>

namespace zolbex {

struct VirtualDriveRequest {
    HWND owner = nullptr;     // handed to the shell with each tool
    std::wstring drive;       // as the caller wrote it, for example "Z:"
    std::wstring folder;      // the folder to map
    std::wstring label;       // the name the drive is to show
    bool relabel = false;     // run the label step
};

// Starts the substitution tool for the request. When asked to relabel (and the label is not
// empty), waits a bounded time for that tool and names the drive (drive_name.h) only when it
// now maps the folder. No volume is ever relabelled: the label tool would rename the volume
// that holds the folder. Reports nothing: a tool that is missing or fails, or a name that
// cannot be written, leaves no trace.
void MakeVirtualDrive(const VirtualDriveRequest& request);

// The folder as one command-line argument: quoted when it holds a blank and is not quoted yet.
std::wstring FolderArgument(const std::wstring& folder);

// Whether a drive's device target names the folder (the "\??\" prefix, quotes, a trailing
// backslash and letter case aside).
bool TargetIsFolder(const std::wstring& target, const std::wstring& folder);

}  // namespace zolbex
