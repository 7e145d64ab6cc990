// Mapping a folder to a drive letter and labelling the drive with the system's drive
// substitution and volume label tools (subst.exe and label.exe in WINDIR\System32).
#pragma once

#include <windows.h>

#include <string>

namespace zolbex {

struct VirtualDriveRequest {
    HWND owner = nullptr;     // handed to the shell with each tool
    std::wstring drive;       // as the caller wrote it, for example "Z:"
    std::wstring folder;      // the folder to map
    std::wstring label;       // the new volume label
    bool relabel = false;     // run the label step
};

// Starts the substitution tool for the request. When asked to relabel (and the label is not
// empty), waits a bounded time for that tool and starts the label tool only when the drive
// now maps the folder, so a volume the substitution did not create is never relabelled.
// Reports nothing about the tools: a tool that is missing or fails leaves no trace.
void MakeVirtualDrive(const VirtualDriveRequest& request);

// The folder as one command-line argument: quoted when it holds a blank and is not quoted yet.
std::wstring FolderArgument(const std::wstring& folder);

// Whether a drive's device target names the folder (the "\??\" prefix, quotes, a trailing
// backslash and letter case aside).
bool TargetIsFolder(const std::wstring& target, const std::wstring& folder);

}  // namespace zolbex
