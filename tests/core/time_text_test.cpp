#include "core/time_text.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

using namespace MyutyTime;

struct PairCase
{
    const char* a;
    const char* b;
    const char* expected;
};

struct PercentCase
{
    const char* a;
    int percent;
    const char* expected;
};

struct TypedCase
{
    const char* typed;
    const char* expected;
};

std::string trace(const char* a, const char* b)
{
    return std::string("a=\"") + a + "\" b=\"" + b + "\"";
}

// Adding the empty text isolates how one operand is read.
TEST(TimeAddTest, ReadsOperandsAndWritesTotals)
{
    const PairCase cases[] = {
        // No colon: zero, not an error.
        {"", "", ""},
        {"930", "1200", ""},
        {"12:30", "", "12:30"},
        {"abc", "12:30", "12:30"},
        // One minute digit is tens; an empty minute part is zero; extra characters are ignored.
        {"1:5", "0:10", "02:00"},
        {"12:", "", "12:00"},
        {"1:05xyz", "", "01:05"},
        {"1:05:30", "", "01:05"},
        {"12:+", "", "12:00"},
        // Minutes of 60 and more carry; hours have no upper limit.
        {"1:75", "0:00", "02:15"},
        {"99:30", "0:45", "100:15"},
        {"1234:05", "", "1234:05"},
        {"0000000000000000001:00", "", "01:00"},
        {"+1:30", "", "01:30"},
        // A leading '-' negates the minutes as well.
        {"-0:30", "1:00", "00:30"},
        {"-1:30", "3:00", "01:30"},
        {"-1:30", "", "-01:-30"},
        {"1:-30", "", "00:57"},
        // A written negative total does not read back as itself.
        {"-23:-30", "", "-22:-57"},
        {"-01:-05", "", "-01:00"},
        // Writing: zero is empty, every field at least two digits, signs per field.
        {"0:00", "", ""},
        {"-1:00", "", "-01:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(trace(c.a, c.b));
        EXPECT_EQ(TimeAdd(c.a, c.b), QString(c.expected));
    }
}

TEST(TimeDiffTest, SubtractsSecondFromFirst)
{
    const PairCase cases[] = {
        {"12:00", "12:00", ""},       {"12:45", "09:30", "03:15"},  {"00:20", "23:50", "-23:-30"},
        {"10:00", "10:30", "00:-30"}, {"10:00", "11:00", "-01:00"}, {"", "1:30", "-01:-30"},
        {"1:00", "-0:30", "01:30"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(trace(c.a, c.b));
        EXPECT_EQ(TimeDiff(c.a, c.b), QString(c.expected));
    }
}

// One unreadable operand zeroes both, so the good operand is lost as well.
TEST(TimeAddDiffTest, UnreadableOperandEmptiesResult)
{
    const char* unreadable[] = {
        ":30",    // empty hours
        "x:00",   // letters
        "1x:00",  // trailing junk in hours
        " 1:00",  // blanks are not part of a number
        "1: 5",   //
        "1:5x",   // junk within the two minute characters
        "+:05",   // sign without digits
        "-:05",   //
        "--1:00", //
        "1:+-",   //
    };
    for (const char* bad : unreadable) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(TimeAdd("12:00", bad), QString());
        EXPECT_EQ(TimeAdd(bad, "12:00"), QString());
        EXPECT_EQ(TimeDiff("12:00", bad), QString());
        EXPECT_EQ(TimeDiff(bad, "12:00"), QString());
    }
}

// Values are whole minutes in 32 bits; anything beyond is refused, never wrapped.
TEST(TimeAddDiffTest, ValuesBeyond32BitsAreRefused)
{
    const PairCase addCases[] = {
        {"35791394:07", "", "35791394:07"}, // 2147483647 minutes, the largest
        {"-35791394:08", "", "-35791394:-08"},
        {"35791394:07", "0:01", ""},
        {"35791394:08", "", ""},
        {"-35791394:09", "", ""},
        {"2147483647:00", "", ""}, // hours fit, minutes do not
        {"2147483648:00", "", ""},
        {"18446744073709551621:00", "", ""}, // 2^64 + 5 must not wrap to 5
    };
    for (const auto& c : addCases) {
        SCOPED_TRACE(trace(c.a, c.b));
        EXPECT_EQ(TimeAdd(c.a, c.b), QString(c.expected));
    }

    const PairCase diffCases[] = {
        {"", "-35791394:08", ""},
        {"-35791394:08", "0:01", ""},
        {"-35791394:07", "0:01", "-35791394:-08"},
    };
    for (const auto& c : diffCases) {
        SCOPED_TRACE(trace(c.a, c.b));
        EXPECT_EQ(TimeDiff(c.a, c.b), QString(c.expected));
    }
}

TEST(TimePercentTest, ScalesAndRoundsHalvesToEven)
{
    const PercentCase cases[] = {
        {"0:25", 20, "00:05"},
        {"0:13", 50, "00:06"},   // 6.5
        {"0:15", 50, "00:08"},   // 7.5
        {"1:15", 50, "00:38"},   // 37.5
        {"0:11", 50, "00:06"},   // 5.5
        {"0:01", 49, ""},        // 0.49
        {"0:01", 51, "00:01"},   // 0.51
        {"-1:47", 50, "00:-06"}, // -13 minutes
        {"-1:45", 50, "00:-08"}, // -15 minutes
        {"1:00", -50, "00:-30"},
        {"1:5", 100, "01:50"},
        // No sign rule here: the minutes keep their own sign.
        {"-0:30", 100, "00:30"},
        {"-1:30", 100, "00:-30"},
        {"1:00", 0, ""},
        {"", 50, ""},
        {"x:00", 50, ""},
        {":30", 50, ""},
        // The product may exceed 32 bits; only the result has to fit.
        {"35791394:07", 100, "35791394:07"},
        {"35791394:07", 1, "357913:56"},
        {"35791394:07", 101, ""},
        {"35791394:08", 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " x " + std::to_string(c.percent) + "%");
        EXPECT_EQ(TimePercent(c.a, c.percent), QString(c.expected));
    }
}

TEST(NormalizeTimeTextTest, RewritesTypedText)
{
    const TypedCase cases[] = {
        {"", "00:00"},
        {"5", "00:05"},
        {"45", "00:45"},
        {"930", "09:30"},
        {"1230", "12:30"},
        {"12:30", "12:30"},
        {"1234:56", "1234:56"},
        {"190", "01:90"},
        {"12:3", "12:00"},
        {":30", ""},
        // Minutes: the last two characters, zero when they are no number.
        {"-", "00:00"},
        {"1x", "00:00"},
        {"12ab", "12:00"},
        {"+5", "00:05"},
        {"12-5", "12:-05"},
        // Hours: only the digits before the last two characters count.
        {"1a2b30", "12:30"},
        {"-9:30", "09:30"},
        {"0000930", "09:30"},
        {"ab30", ""},
        {"2147483647:00", "2147483647:00"},
        {"2147483648:00", ""},
        {"18446744073709551621:00", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(NormalizeTimeText(c.typed), QString(c.expected));
    }
}

TEST(NormalizeTimeTextTest, AcceptsOnlyAsciiDigits)
{
    // Full-width digits, as a Japanese input method may type them.
    EXPECT_EQ(NormalizeTimeText(QString::fromUtf8("１２30")), QString());
    EXPECT_EQ(NormalizeTimeText(QString::fromUtf8("1２30")), QString("01:30"));
    EXPECT_EQ(NormalizeTimeText(QString::fromUtf8("12３０")), QString("12:00"));
}

} // namespace
