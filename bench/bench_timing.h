// The benchmarks' clock and their summary of a run: the median and the
// 95th percentile of the samples.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

inline double now_ms()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / frequency;
}

struct Figures {
    double median;
    double p95;
};

inline Figures figures(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) { return samples[static_cast<std::size_t>(q * (samples.size() - 1) + 0.5)]; };
    return {at(0.5), at(0.95)};
}
