// How a time grows with a record's length: the exponent k of
// time ~ length^k, fitted by least squares over the logarithms of the
// measured points (length in minutes, time in seconds). The growth
// benchmarks print it when their run ends.
#pragma once

#include <algorithm>
#include <cmath>
#include <ctime>
#include <map>

inline double GrowthExponent(const std::map<int, double>& secondsByMinutes)
{
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& point : secondsByMinutes) {
        const double x = std::log(point.first), y = std::log(std::max(point.second, 1e-9));
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double n = static_cast<double>(secondsByMinutes.size());
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

// The seconds one measurement took: wall clock and processor time (on a busy
// machine the second is the steadier).
struct GrowthTiming {
    double wall = 0;
    double cpu = 0;
};

inline double ProcessCpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec * 1e-9;
}
