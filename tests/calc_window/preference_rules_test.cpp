// The exclusions between counting options and the offset text, without the
// dialog.
#include "calc/preference_rules.h"

#include <gtest/gtest.h>

namespace {

using preference_rules::CountingOption;
using enum CountingOption;

constexpr CountingOption AllOptions[] = {E_IncGround, P_IncGround, GliderAdd1, GliderAdd2,
                                         RussianSys};

bool clears(CountingOption on, CountingOption other)
{
    return preference_rules::clearedBySwitchingOn(on).contains(other);
}

// If one option cleared another without the reverse, checking them in the
// other order would leave both on.
TEST(CountingOptionRules, ExclusionsAreMutualAndNeverSelfClearing)
{
    for (CountingOption a : AllOptions) {
        EXPECT_FALSE(clears(a, a)) << int(a);
        for (CountingOption b : AllOptions)
            EXPECT_EQ(clears(a, b), clears(b, a)) << int(a) << " / " << int(b);
    }
}

TEST(CountingOptionRules, CombinationsTheTotalsSupportStayAllowed)
{
    const std::pair<CountingOption, CountingOption> allowed[] = {
        {E_IncGround, P_IncGround}, {E_IncGround, GliderAdd1}, {E_IncGround, RussianSys},
        {P_IncGround, GliderAdd1},  {P_IncGround, RussianSys},
    };
    for (const auto& [a, b] : allowed)
        EXPECT_FALSE(clears(a, b)) << int(a) << " / " << int(b);
}

TEST(OffsetText, MinutesAreReadFromTheFourthAndFifthCharacters)
{
    const struct
    {
        const char* text;
        int minutes;
    } cases[] = {
        {"00:05", 5},    {"0:07", 7},  {"01:30", 30}, {"00:00", 0}, {"00:59", 59},
        {"00:05:00", 5}, {"", 0},      {"00:", 0},    {"00:ab", 0}, {"00:5x", 0},
        {"00:75", 59},   {"00:-5", 0}, {"5", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(preference_rules::offsetMinutesFromText(QString::fromUtf8(c.text)), c.minutes)
            << c.text;
}

TEST(OffsetText, StoredWithZeroHoursAndTwoDigitMinutes)
{
    const struct
    {
        int minutes;
        const char* text;
    } cases[] = {{0, "00:00"}, {5, "00:05"}, {30, "00:30"}, {59, "00:59"}};
    for (const auto& c : cases)
        EXPECT_EQ(preference_rules::offsetTextFromMinutes(c.minutes), QString::fromUtf8(c.text))
            << c.minutes;
}

TEST(OffsetText, EveryMinuteSurvivesStoringAndReading)
{
    for (int m = preference_rules::MinOffsetMinutes; m <= preference_rules::MaxOffsetMinutes; ++m)
        EXPECT_EQ(
            preference_rules::offsetMinutesFromText(preference_rules::offsetTextFromMinutes(m)), m);
}

} // namespace
