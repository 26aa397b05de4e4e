#pragma once

#include "bench/measurement.h"
#include "bench/median_time.h"

namespace bench {

// The project's median time and the process's peak memory over its runs,
// their preparations included: those load what the project holds while it
// works, such as the open row-set.
struct ProjectRun
{
    double ms = 0;
    qint64 peakBytes = 0;
};

inline ProjectRun runProject(const std::function<void()>& work,
                             const std::function<void()>& prepare = {})
{
    resetPeak();
    const double ms = medianMs(work, prepare);
    return {ms, peakResidentBytes()};
}

} // namespace bench
