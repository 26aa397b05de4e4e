// The time rules of the entry dialog's clock-time and power boxes, and the
// date it takes.
#include "entry/clock_times.h"
#include "entry/entry_date.h"
#include "tests/entry/leave_cases.h"
#include "tests/testsupport/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using ClockTimes::Box;
using entrytest::LeaveCase;

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

INSTANTIATE_TEST_SUITE_P(Rules, LeaveBoxTest, ::testing::ValuesIn(entrytest::leaveCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimeOfDayTest, TakesTimesAsTypedOnPaperAndRefusesTheRest)
{
    const std::pair<const char*, const char*> taken[] = {
        {"", ""},
        {"  ", ""},
        {"930", "09:30"},
        {"9:30", "09:30"},
        {"0930", "09:30"},
        {"5", "00:05"},
        {"2359", "23:59"},
        {"0000", "00:00"},
        {"１０３０", "10:30"},
        {"10：30", "10:30"},
        {" 1105 ", "11:05"},
    };
    for (const auto& [typed, time] : taken)
        EXPECT_EQ(ClockTimes::timeOfDay(QString::fromUtf8(typed)), QString::fromUtf8(time))
            << typed;
    const char* refused[] = {"2561",    "2400", "1260", "190",  "12:3",  ":30",
                             "1234:56", "9.30", "abc",  "-930", "12345", "10:30x"};
    for (const char* typed : refused)
        EXPECT_EQ(ClockTimes::timeOfDay(typed), std::nullopt) << typed;
}

TEST(TimeOrderTest, QuestionsTimesGivenBackwardsOrOverTwelveHours)
{
    using Pairs = QList<std::pair<Box, Box>>;
    const struct
    {
        ClockTimes::Boxes times;
        Pairs reversed;
        bool overTwelveHours;
        Box firstBox;
    } cases[] = {
        {{"10:10", "10:15", "11:05", "11:10"}, {}, false, Box::EngineStart},
        {{}, {}, false, Box::EngineStart},
        {{"", "10:40", "10:15", ""}, {{Box::TakeOff, Box::Landing}}, false, Box::TakeOff},
        {{"10:00", "", "09:00", ""}, {{Box::EngineStart, Box::Landing}}, false, Box::EngineStart},
        {{"", "", "11:00", "10:00"}, {{Box::Landing, Box::EngineStop}}, false, Box::Landing},
        {{"08:00", "", "", "20:00"}, {}, false, Box::EngineStart}, // twelve hours exactly
        {{"", "08:00", "", "20:01"}, {}, true, Box::TakeOff},
        {{"23:50", "23:55", "00:40", "00:45"}, {{Box::TakeOff, Box::Landing}}, false, Box::TakeOff},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.times.inOrder().at(0).toStdString() + " " +
                     c.times.inOrder().at(1).toStdString() + " " +
                     c.times.inOrder().at(2).toStdString() + " " +
                     c.times.inOrder().at(3).toStdString());
        const ClockTimes::Order order = ClockTimes::checkOrder(c.times);
        EXPECT_EQ(order.reversed, c.reversed);
        EXPECT_EQ(order.overTwelveHours, c.overTwelveHours);
        EXPECT_EQ(order.firstBox(c.times), c.firstBox);
    }
    const ClockTimes::Boxes swapped{"", "10:40", "10:15", ""};
    EXPECT_TRUE(
        ClockTimes::checkOrder(swapped).question(swapped).contains("離陸 10:40 が 着陸 10:15"));
    const ClockTimes::Boxes longDay{"06:00", "", "", "19:00"};
    EXPECT_TRUE(
        ClockTimes::checkOrder(longDay).question(longDay).contains("発進 06:00 から 停止 19:00"));
}

TEST(EntryDateTest, TakesFourDigitYearsAndRealDays)
{
    using EntryDate::Box;
    const struct
    {
        const char* year;
        const char* monthDay;
        std::optional<Box> refused;
    } cases[] = {
        {"2026", "0703", std::nullopt},      {"2024", "0229", std::nullopt},
        {"2026", "1231", std::nullopt},      {"2026", "0229", Box::MonthDay},
        {"1900", "0229", Box::MonthDay},     {"2026", "0230", Box::MonthDay},
        {"2026", "1301", Box::MonthDay},     {"2026", "0700", Box::MonthDay},
        {"2026", "", Box::MonthDay},         {"2026", "73", Box::MonthDay},
        {"2026", "０７０３", Box::MonthDay}, {"", "0703", Box::Year},
        {"26", "0703", Box::Year},           {"0000", "0101", Box::Year},
        {"2026 ", "0703", Box::Year},        {"２０２６", "0703", Box::Year},
    };
    for (const auto& c : cases) {
        const auto problem =
            EntryDate::check(QString::fromUtf8(c.year), QString::fromUtf8(c.monthDay));
        EXPECT_EQ(problem ? std::optional<Box>(problem->box) : std::nullopt, c.refused)
            << c.year << "/" << c.monthDay;
    }
    const auto problem = EntryDate::check("2026", "0230");
    ASSERT_TRUE(problem);
    EXPECT_TRUE(problem->message.contains("「月日」の「0230」は 2026 年にない日付"));
}

TEST(DurationTextTest, TotalsAndPowerTimesAreReadAsTypedOrRefused)
{
    using Expected = std::optional<QString>;
    const std::pair<const char*, Expected> totals[] = {
        {"", "00:00"},    {"12345", "123:45"},     {"1234:56", "1234:56"},
        {"190", "01:90"}, {"１２：３０", "12:30"}, {"12:3", {}},
        {"abc", {}},      {"1:2:3", {}},           {"-130", {}},
    };
    for (const auto& [typed, expected] : totals)
        EXPECT_EQ(ClockTimes::typedDuration(QString::fromUtf8(typed)), expected) << typed;
    const std::pair<const char*, Expected> power[] = {
        {"", ""},
        {"  ", ""},
        {"30", "00:30"},
        {"-30", "-00:30"},
        {"-1:30", "-01:30"},
        {"-130", "-01:30"},
        {"-0", "00:00"},
        {"-", "00:00"},
        {"-:30", {}},
        {"--30", {}},
        {"1234:56", "1234:56"},
        {"x", {}},
    };
    for (const auto& [typed, expected] : power)
        EXPECT_EQ(ClockTimes::normalizePowerTime(typed), expected) << typed;
}

} // namespace
