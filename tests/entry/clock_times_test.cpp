// The time rules of the entry dialog's clock-time and power boxes.
#include "entry/clock_times.h"

#include <gtest/gtest.h>

namespace {

using ClockTimes::Box;

struct LeaveCase
{
    const char* name;
    Box left;
    ClockTimes::Boxes before; // engine start, take-off, landing, engine stop
    bool autoStartStop;
    ClockTimes::Boxes after;
    const char* blocktime;  // nullptr: not computed
    const char* flighttime; // nullptr: not computed
};

class LeaveBoxTest : public ::testing::TestWithParam<LeaveCase>
{
};

TEST_P(LeaveBoxTest, RewritesTheBoxAndComputesTheTimes)
{
    const LeaveCase& c = GetParam();
    const ClockTimes::Leave leave =
        ClockTimes::leaveBox(c.left, c.before, {c.autoStartStop, "00:05"});
    EXPECT_EQ(leave.boxes, c.after);
    EXPECT_EQ(leave.blocktime, c.blocktime ? std::optional<QString>(c.blocktime) : std::nullopt);
    EXPECT_EQ(leave.flighttime, c.flighttime ? std::optional<QString>(c.flighttime) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Rules, LeaveBoxTest,
                         ::testing::Values(LeaveCase{"EmptyBoxBecomesMidnight",
                                                     Box::TakeOff,
                                                     {},
                                                     false,
                                                     {"", "00:00", "", ""},
                                                     nullptr,
                                                     nullptr},
                                           LeaveCase{"LandingGivesFlightTime",
                                                     Box::Landing,
                                                     {"", "10:15", "1105", ""},
                                                     false,
                                                     {"", "10:15", "11:05", ""},
                                                     nullptr,
                                                     "00:50"},
                                           LeaveCase{"TakeOffGivesFlightTimeButNotBlockTime",
                                                     Box::TakeOff,
                                                     {"10:00", "1015", "11:05", "11:20"},
                                                     false,
                                                     {"10:00", "10:15", "11:05", "11:20"},
                                                     nullptr,
                                                     "00:50"},
                                           LeaveCase{"TakeOffAloneComputesNothing",
                                                     Box::TakeOff,
                                                     {"", "930", "", ""},
                                                     false,
                                                     {"", "09:30", "", ""},
                                                     nullptr,
                                                     nullptr},
                                           LeaveCase{"EngineStopGivesBlockTime",
                                                     Box::EngineStop,
                                                     {"09:25", "", "", "1040"},
                                                     false,
                                                     {"09:25", "", "", "10:40"},
                                                     "01:15",
                                                     nullptr},
                                           LeaveCase{"EngineStartGivesBlockTime",
                                                     Box::EngineStart,
                                                     {"925", "", "", "10:40"},
                                                     false,
                                                     {"09:25", "", "", "10:40"},
                                                     "01:15",
                                                     nullptr},
                                           LeaveCase{"EqualTimesGiveEmptyBlockTime",
                                                     Box::EngineStop,
                                                     {"10:00", "", "", "1000"},
                                                     false,
                                                     {"10:00", "", "", "10:00"},
                                                     "",
                                                     nullptr},
                                           LeaveCase{"PastMidnightIsNegative",
                                                     Box::Landing,
                                                     {"", "23:50", "0020", ""},
                                                     false,
                                                     {"", "23:50", "00:20", ""},
                                                     nullptr,
                                                     "-23:-30"},
                                           LeaveCase{
                                               "UnreadableTimeEmptiesTheBoxAndComputesNothing",
                                               Box::Landing,
                                               {"", "10:00", ":30", ""},
                                               false,
                                               {"", "10:00", "", ""},
                                               nullptr,
                                               nullptr},
                                           LeaveCase{"AutoTakeOffDerivesEngineStart",
                                                     Box::TakeOff,
                                                     {"", "1015", "", ""},
                                                     true,
                                                     {"10:10", "10:15", "", ""},
                                                     nullptr,
                                                     nullptr},
                                           LeaveCase{"AutoLandingDerivesEngineStopAndBlockTime",
                                                     Box::Landing,
                                                     {"10:10", "10:15", "1105", ""},
                                                     true,
                                                     {"10:10", "10:15", "11:05", "11:10"},
                                                     "01:00",
                                                     "00:50"},
                                           LeaveCase{"AutoLandingWithoutEngineStartHasNoBlockTime",
                                                     Box::Landing,
                                                     {"", "", "1105", ""},
                                                     true,
                                                     {"", "", "11:05", "11:10"},
                                                     nullptr,
                                                     nullptr},
                                           LeaveCase{"AutoOffDerivesNothing",
                                                     Box::Landing,
                                                     {"", "", "1105", ""},
                                                     false,
                                                     {"", "", "11:05", ""},
                                                     nullptr,
                                                     nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PowerTimeTest, KeepsTheSignAndNormalisesTheRest)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"  ", ""},
        {"30", "00:30"},
        {"-30", "-00:30"},
        {"-1:30", "-01:30"},
        {"-130", "-01:30"},
        {"-0", "00:00"},
        {"-", "00:00"},
        {"-:30", ""},
        {"1234:56", "1234:56"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(ClockTimes::normalizePowerTime(typed), expected) << typed;
}

} // namespace
