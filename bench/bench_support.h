// Small timing helpers for the benchmarks (run under Wine by scripts/bench.sh).
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace zolbex::bench {

// Nanoseconds per call of `body` over one run of `calls` calls.
template <class Body>
double TimePerCall(long calls, Body&& body) {
    auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) body(i);
    std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / calls;
}

// Nanoseconds per call of `body`, the best of a few rounds of `calls` calls each: for figures
// that stand alone. Ratios are measured by Compare.
template <class Body>
double NanosecondsPerCall(long calls, Body&& body) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) best = std::min(best, TimePerCall(calls, body));
    return best;
}

// Two sides timed in alternating rounds and the ratio of their costs. Under Wine every registry
// call is a round trip to the wineserver, whose speed swings with the machine's load by several
// times within a second; one batch per side compares two different machines. Alternating short
// timings of the two sides lets a slow spell hit both, and the median of the per-round ratios
// ignores the rounds it hit unevenly; the middle half of the rounds shows how far to trust it.
// (scripts/run-tree.sh also keeps the programs and their wineserver on one CPU.)
struct Comparison {
    double first = 0;   // median nanoseconds per call of the first side
    double second = 0;  // and of the second
    double ratio = 0;   // median of first / second over the rounds
    double lowerQuartile = 0, upperQuartile = 0;
    int rounds = 0;
};

inline double Quantile(std::vector<double> values, double at) {
    std::sort(values.begin(), values.end());
    const double position = at * static_cast<double>(values.size() - 1);
    const size_t below = static_cast<size_t>(position);
    const size_t above = std::min(below + 1, values.size() - 1);
    return values[below] + (values[above] - values[below]) * (position - static_cast<double>(below));
}

// Many short rounds: a side's timing lasts about a millisecond, so that a preemption or a slow
// spell spoils few rounds, and the median of a hundred of them hardly moves between runs.
constexpr int kRounds = 101;
constexpr double kSideNanoseconds = 1e6;

// Each side is a callable returning the nanoseconds of one timing of it (so a side can prepare
// outside its timed part); they run first, second, first, second... for `rounds` rounds.
template <class First, class Second>
Comparison Interleave(int rounds, First&& timeFirst, Second&& timeSecond) {
    std::vector<double> firsts, seconds, ratios;
    for (int round = 0; round < rounds; ++round) {
        firsts.push_back(timeFirst());
        seconds.push_back(timeSecond());
        ratios.push_back(firsts.back() / seconds.back());
    }
    Comparison result;
    result.first = Quantile(firsts, 0.5);
    result.second = Quantile(seconds, 0.5);
    result.ratio = Quantile(ratios, 0.5);
    result.lowerQuartile = Quantile(ratios, 0.25);
    result.upperQuartile = Quantile(ratios, 0.75);
    result.rounds = rounds;
    return result;
}

// How many calls of `body` last about kSideNanoseconds; one where a single call lasts longer
// (a listing). Calibrating runs the body a few times, which also warms it up.
template <class Body>
long CallsPerSide(Body& body) {
    for (long calls = 1;; calls *= 8) {
        const double spent = TimePerCall(calls, body) * static_cast<double>(calls);
        if (spent >= kSideNanoseconds / 8 || calls >= (1L << 24))
            return std::max(1L, static_cast<long>(static_cast<double>(calls) * kSideNanoseconds / spent));
    }
}

// The usual comparison: each side gets the calls that last about kSideNanoseconds, so a side
// far cheaper than the other gets more calls and its timing too outlasts the clock's noise.
template <class First, class Second>
Comparison Compare(First&& first, Second&& second, int rounds = kRounds) {
    const long firstCalls = CallsPerSide(first);
    const long secondCalls = CallsPerSide(second);
    return Interleave(rounds, [&] { return TimePerCall(firstCalls, first); },
                      [&] { return TimePerCall(secondCalls, second); });
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

// The ratio's line for the reader, and a "ratio|" line that scripts/run-tree.sh gathers into
// the target's table.
inline void ReportRatio(const char* what, const Comparison& c) {
    std::printf("%-58s %10.2fx  (middle half %.2f .. %.2f of %d rounds)\n", what, c.ratio, c.lowerQuartile,
                c.upperQuartile, c.rounds);
    std::printf("ratio|%s|%.2f|%.2f|%.2f|%d\n", what, c.ratio, c.lowerQuartile, c.upperQuartile, c.rounds);
    std::fflush(stdout);
}

}  // namespace zolbex::bench
