#pragma once

// What leaving each clock-time box does, as a table that both the rule and
// the real dialog are held to: every box and both computed times after one
// leave, the boxes not named unchanged.
#include "entry/clock_times.h"

#include <vector>

namespace entrytest {

struct LeaveCase
{
    const char* name;
    ClockTimes::Box left;
    ClockTimes::Boxes before; // engine start, take-off, landing, engine stop
    bool autoStartStop;
    ClockTimes::Boxes after;
    const char* blocktime;  // nullptr: not computed
    const char* flighttime; // nullptr: not computed
};

inline const std::vector<LeaveCase>& leaveCases()
{
    using ClockTimes::Box;
    static const std::vector<LeaveCase> cases{
        {"EmptyBoxStaysEmpty", Box::TakeOff, {}, false, {}, nullptr, nullptr},
        {"LandingGivesFlightTime",
         Box::Landing,
         {"", "10:15", "1105", ""},
         false,
         {"", "10:15", "11:05", ""},
         nullptr,
         "00:50"},
        {"TakeOffGivesFlightTimeButNotBlockTime",
         Box::TakeOff,
         {"10:00", "1015", "11:05", "11:20"},
         false,
         {"10:00", "10:15", "11:05", "11:20"},
         nullptr,
         "00:50"},
        {"TakeOffAloneComputesNothing",
         Box::TakeOff,
         {"", "930", "", ""},
         false,
         {"", "09:30", "", ""},
         nullptr,
         nullptr},
        {"EngineStopGivesBlockTime",
         Box::EngineStop,
         {"09:25", "", "", "1040"},
         false,
         {"09:25", "", "", "10:40"},
         "01:15",
         nullptr},
        {"EngineStartGivesBlockTime",
         Box::EngineStart,
         {"925", "", "", "10:40"},
         false,
         {"09:25", "", "", "10:40"},
         "01:15",
         nullptr},
        {"EqualTimesGiveEmptyBlockTime",
         Box::EngineStop,
         {"10:00", "", "", "1000"},
         false,
         {"10:00", "", "", "10:00"},
         "",
         nullptr},
        {"AcrossMidnightCountsIntoTheNextDay",
         Box::Landing,
         {"", "23:50", "0020", ""},
         false,
         {"", "23:50", "00:20", ""},
         nullptr,
         "00:30"},
        {"AutoTakeOffDerivesEngineStart",
         Box::TakeOff,
         {"", "1015", "", ""},
         true,
         {"10:10", "10:15", "", ""},
         nullptr,
         nullptr},
        {"AutoTakeOffWithAStopTimeStillLeavesTheBlockTime",
         Box::TakeOff,
         {"", "1015", "11:05", "11:10"},
         true,
         {"10:10", "10:15", "11:05", "11:10"},
         nullptr,
         "00:50"},
        {"AutoTakeOffJustAfterMidnightStartsTheDayBefore",
         Box::TakeOff,
         {"", "0003", "", ""},
         true,
         {"23:58", "00:03", "", ""},
         nullptr,
         nullptr},
        {"AutoTakeOffLeftBlankDerivesNoStart",
         Box::TakeOff,
         {"10:10", "", "", ""},
         true,
         {"", "", "", ""},
         nullptr,
         nullptr},
        {"AutoLandingDerivesEngineStopAndBlockTime",
         Box::Landing,
         {"10:10", "10:15", "1105", ""},
         true,
         {"10:10", "10:15", "11:05", "11:10"},
         "01:00",
         "00:50"},
        {"AutoLandingWithoutEngineStartHasNoBlockTime",
         Box::Landing,
         {"", "", "1105", ""},
         true,
         {"", "", "11:05", "11:10"},
         nullptr,
         nullptr},
        {"AutoOffDerivesNothing",
         Box::Landing,
         {"", "", "1105", ""},
         false,
         {"", "", "11:05", ""},
         nullptr,
         nullptr},
    };
    return cases;
}

} // namespace entrytest
