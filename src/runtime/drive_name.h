// The name Explorer shows for a drive letter. A substituted drive has no volume of its own: the
// volume-label tool would rename the volume that holds the mapped folder (the system drive,
// typically). Explorer reads a drive letter's name from
// HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\DriveIcons\<letter>\DefaultLabel
// instead, which names the letter and nothing else.
#pragma once

#include <string>

namespace zolbex {

// Writes `label` as that key's default value in the 64-bit registry view (Explorer's own, also
// from the 32-bit DLL under WOW64), then tells the shell the drive changed. Writing there needs
// administrator rights; where the write is refused nothing happens and nothing is reported.
void NameDrive(const std::wstring& drive, const std::wstring& label);

}  // namespace zolbex
