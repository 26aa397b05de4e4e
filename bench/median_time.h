#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <functional>
#include <vector>

inline constexpr int MedianRuns = 3;

// The median wall time of three runs of work, in milliseconds; prepare runs
// before each, off the clock.
inline double medianMs(const std::function<void()>& work, const std::function<void()>& prepare = {})
{
    std::vector<double> times;
    for (int run = 0; run < MedianRuns; ++run) {
        if (prepare)
            prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[MedianRuns / 2];
}
