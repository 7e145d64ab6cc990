#include "tool_log.h"

#include <windows.h>

namespace zolbex::tools {

std::wstring ArgumentsOfCommandLine(const wchar_t* commandLine) {
    const wchar_t* p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    return p;
}

void RecordRun(const wchar_t* tool) {
    wchar_t logPath[MAX_PATH];
    if (!GetEnvironmentVariableW(L"ZOLBEX11_TOOL_LOG", logPath, MAX_PATH)) return;
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    const std::wstring line =
        std::wstring(tool) + L"|" + ArgumentsOfCommandLine(GetCommandLineW()) + L"|" + folder + L"\n";

    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size, nullptr,
                        nullptr);
    HANDLE log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(log, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(log);
}

}  // namespace zolbex::tools
