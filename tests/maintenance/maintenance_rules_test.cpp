// What is due next, worked out from rows as the table holds them.
#include "maintenance/maintenance_rules.h"
#include "tests/testsupport/qt_printers.h"

#include <gtest/gtest.h>

using namespace Maintenance;

namespace {

const QDate Today(2026, 5, 1);

QString described(const Status& status)
{
    const char* states[] = {"green", "amber", "red", "unknown"};
    return QStringLiteral("%1 row%2 %3 | %4 %5")
        .arg(title(status.item))
        .arg(status.startRow)
        .arg(remainingText(status), dueText(status), states[int(status.state)]);
}

QStringList described(const std::vector<RowFacts>& rows, const Limits& limits, QDate today = Today)
{
    QStringList lines;
    for (const Status& status : evaluate(rows, limits, today))
        lines.append(described(status));
    return lines;
}

RowFacts engineRow(const char* sincema, const char* sinceov, bool overhaul = false)
{
    return {.yyyy = "2026",
            .mmdd = "0401",
            .e_sincema = sincema,
            .e_sinceov = sinceov,
            .e_ovh = overhaul};
}

} // namespace

TEST(MaintenanceRules, HoursCountFromTheLastOverhaulOrTheOpeningRow)
{
    const struct
    {
        const char* name;
        std::vector<RowFacts> rows;
        int engineHours;
        QString expected;
    } cases[] = {
        {"no overhaul yet: the opening row's figures start the count",
         {engineRow("845:30", "120:40"), engineRow("850:30", "125:40"),
          engineRow("852:10", "127:20")},
         2000,
         "エンジン時間 row0 残り 1872:40 | E製造後 2724:50 green"},
        {"overhaul on the opening row, its since-overhaul total empty",
         {engineRow("1000:00", "", true), engineRow("1005:00", "05:00"),
          engineRow("1009:30", "09:30")},
         10,
         "エンジン時間 row0 残り 00:30 | E製造後 1010:00 amber"},
        {"two overhauls: the later one counts",
         {engineRow("500:00", "400:00"), engineRow("900:00", "00:00", true),
          engineRow("950:00", "50:00"), engineRow("1200:00", "", true),
          engineRow("1210:00", "10:00")},
         5,
         "エンジン時間 row3 超過 05:00 | E製造後 1205:00 red"},
        {"exactly at the limit is due, not overdue",
         {engineRow("100:00", "", true), engineRow("110:00", "10:00")},
         10,
         "エンジン時間 row0 残り 00:00 | E製造後 110:00 amber"},
        {"no totals anywhere: nothing used yet",
         {engineRow("", ""), engineRow("", "")},
         100,
         "エンジン時間 row0 残り 100:00 | E製造後 100:00 green"},
        {"a later row without a total is not a total of zero",
         {engineRow("100:00", "10:00"), engineRow("105:00", "15:00"), engineRow("", "")},
         100,
         "エンジン時間 row0 残り 85:00 | E製造後 190:00 green"},
        {"an unreadable total",
         {engineRow("100:00", "10:00"), engineRow("1x:00", "")},
         100,
         "エンジン時間 row0 不明 |  unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(described(c.rows, {.engineHours = c.engineHours}), QStringList{c.expected});
    }
}

TEST(MaintenanceRules, EachUnitCountsItsOwnMarkAndTotals)
{
    std::vector<RowFacts> rows{
        {.yyyy = "2025",
         .mmdd = "0301",
         .sincema = "300:00",
         .sinceov = "100:00",
         .p_sincema = "200:00",
         .p_sinceov = "150:00"},
        {.yyyy = "2025",
         .mmdd = "0601",
         .sincema = "310:00",
         .sinceov = "",
         .p_sincema = "210:00",
         .p_sinceov = "00:00",
         .ovh = true,
         .p_ovh = true},
        {.yyyy = "2025",
         .mmdd = "0701",
         .sincema = "340:00",
         .sinceov = "30:00",
         .p_sincema = "240:00",
         .p_sinceov = "30:00",
         .e_ovh = true,
         .airworthiness = true},
    };
    const Limits limits{.engineYears = 1,
                        .propellerHours = 1000,
                        .propellerYears = 2,
                        .airframeInspectionHours = 100,
                        .airworthinessDays = 365};
    EXPECT_EQ(described(rows, limits),
              (QStringList{"エンジン年数 row2 残り 61日 | 2026/07/01 green",
                           "プロペラ時間 row1 残り 970:00 | P製造後 1210:00 green",
                           "プロペラ年数 row1 残り 396日 | 2027/06/01 green",
                           "機体点検 row1 残り 70:00 | 製造後 410:00 green",
                           "耐空検査 row2 残り 61日 | 2026/07/01 green"}));
}

TEST(MaintenanceRules, DatesFallDueAcrossLeapDaysAndMargins)
{
    const auto marked = [](const char* yyyy, const char* mmdd) {
        return std::vector<RowFacts>{{.yyyy = "2023", .mmdd = "0101"},
                                     {.yyyy = yyyy, .mmdd = mmdd, .airworthiness = true}};
    };
    const struct
    {
        std::vector<RowFacts> rows;
        Limits limits;
        QDate today;
        QString expected;
    } cases[] = {
        {marked("2024", "0229"),
         {.airworthinessYears = 1},
         QDate(2025, 1, 29),
         "耐空検査 row1 残り 30日 | 2025/02/28 amber"},
        {marked("2024", "0229"),
         {.airworthinessYears = 1},
         QDate(2025, 1, 28),
         "耐空検査 row1 残り 31日 | 2025/02/28 green"},
        {marked("2024", "0229"),
         {.airworthinessYears = 4},
         QDate(2028, 3, 1),
         "耐空検査 row1 超過 1日 | 2028/02/29 red"},
        {marked("2024", "0128"),
         {.airworthinessDays = 32},
         QDate(2024, 2, 29),
         "耐空検査 row1 残り 0日 | 2024/02/29 amber"},
        {marked("2024", "228"),
         {.airworthinessDays = 1, .marginDays = 0},
         QDate(2024, 2, 28),
         "耐空検査 row1 残り 1日 | 2024/02/29 green"},
        {marked("2024", "0230"), {.airworthinessYears = 1}, Today, "耐空検査 row1 不明 |  unknown"},
        {marked("24", "0101"), {.airworthinessYears = 1}, Today, "耐空検査 row1 不明 |  unknown"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        EXPECT_EQ(described(c.rows, c.limits, c.today), QStringList{c.expected});
    }
}

TEST(MaintenanceRules, NothingIsShownWithoutALimitOrRows)
{
    const std::vector<RowFacts> rows{engineRow("100:00", "10:00")};
    EXPECT_TRUE(evaluate(rows, Limits{}, Today).empty());
    EXPECT_FALSE(Limits{}.anySet());
    EXPECT_TRUE(evaluate({}, {.engineHours = 100, .airworthinessYears = 1}, Today).empty());
}
