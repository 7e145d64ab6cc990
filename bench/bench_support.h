// Small timing helpers for the benchmarks (run under Wine by scripts/bench.sh).
#pragma once

#include <chrono>
#include <cstdio>

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

inline void Report(const char* what, double nanoseconds) {
    std::printf("%-58s %10.1f ns/call\n", what, nanoseconds);
}

inline void ReportRatio(const char* what, double ratio) {
    std::printf("%-58s %10.2fx\n", what, ratio);
}

}  // namespace zolbex::bench
