// What the stand-in system tools record: one line per run, appended (UTF-8) to the file named
// by the environment variable ZOLBEX11_TOOL_LOG:
//   <tool>|<arguments exactly as they followed the program name>|<working folder>
#pragma once

#include <string>

namespace zolbex::tools {

// The command line without the program name and the blanks after it.
std::wstring ArgumentsOfCommandLine(const wchar_t* commandLine);

// Appends this run's line for `tool`; does nothing when ZOLBEX11_TOOL_LOG is not set.
void RecordRun(const wchar_t* tool);

}  // namespace zolbex::tools
