#pragma once
// Wall-clock timing for the launcher benchmark: milliseconds on the monotonic
// clock, and the best of several measurements.

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace vornik::bench {

inline double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The best and the median of the figures, in milliseconds.
struct Figures {
    double best = 0;
    double median = 0;
};

inline Figures figuresOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    Figures f;
    if (samples.empty()) return f;
    f.best = samples.front();
    f.median = samples[samples.size() / 2];
    return f;
}

}  // namespace vornik::bench
