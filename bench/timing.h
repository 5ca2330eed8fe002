// Timing for the benchmarks: the best time of one run of some work.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>

typedef std::chrono::steady_clock Clock;

inline double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The best time of one run of work, over batches of about 50 ms each.
template <typename Work>
double BestSeconds(Work work)
{
    double best = 1e9;
    for (int batch = 0; batch < 5; batch++) {
        int runs = 0;
        Clock::time_point start = Clock::now();
        do {
            work();
            runs++;
        } while (Seconds(start) < 0.05);
        best = std::min(best, Seconds(start) / runs);
    }
    return best;
}

// Which build the figures come from: the benchmarks' own (cmake/host.cmake).
inline void PrintBuild(const char* program)
{
    std::printf("%s: build %s\n", program, QMX_BENCH_BUILD_NAME);
}
