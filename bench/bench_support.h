// Small timing helpers for the benchmarks (run under Wine by scripts/bench.sh).
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace zolbex::bench {

// Nanoseconds per call of `body`, the best of a few rounds of `calls` calls each.
template <class Body>
double NanosecondsPerCall(long calls, Body&& body) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < calls; ++i) body(i);
        std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
        if (spent.count() / calls < best) best = spent.count() / calls;
    }
    return best;
}

// The hand-written listing the registry object's listings are measured against: one key kept
// open, every value name enumerated, then every value queried (probe and read). Returns the
// characters read, so the work cannot be optimised away; 0 when the key does not open.
inline size_t RawListAndRead(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return 0;
    DWORD longestName = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr,
                     nullptr, nullptr);
    std::vector<std::wstring> names;
    std::wstring buffer(longestName + 1, L'\0');
    for (DWORD i = 0;; ++i) {
        DWORD length = longestName + 1;
        if (RegEnumValueW(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(buffer.data(), length);
    }
    size_t total = 0;
    for (const std::wstring& name : names) {
        DWORD type = 0, size = 0;
        RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
        std::wstring text(size / sizeof(wchar_t), L'\0');
        RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        total += text.size();
    }
    RegCloseKey(key);
    return total;
}

inline void Report(const char* what, double nanoseconds) {
    std::printf("%-58s %10.1f ns/call\n", what, nanoseconds);
}

inline void ReportRatio(const char* what, double ratio) {
    std::printf("%-58s %10.2fx\n", what, ratio);
}

}  // namespace zolbex::bench
