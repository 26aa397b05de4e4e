#include "statistics/flight_figures.h"

#include <gtest/gtest.h>

using namespace Statistics;

namespace {

RowFields flight(const char* yyyy, const char* mmdd, const char* time, const char* crew = "A",
                 const char* intention = "P", const char* sinceOverhaul = "")
{
    return {QString::fromUtf8(yyyy), QString::fromUtf8(mmdd),
            QString::fromUtf8(crew), QString::fromUtf8(intention),
            QString::fromUtf8(time), QString::fromUtf8(sinceOverhaul)};
}

QDate month(int year, int month)
{
    return QDate(year, month, 1);
}

} // namespace

TEST(FlightFiguresTest, RowDates)
{
    const struct
    {
        const char* yyyy;
        const char* mmdd;
        QDate month;
    } cases[] = {
        {"2026", "0131", month(2026, 1)},
        {"2024", "0229", month(2024, 2)},
        {"2025", "0229", {}},
        {"2026", "1301", {}},
        {"2026", "0100", {}},
        {"", "", {}},
        {"2026", "", {}},
        {"26", "0101", {}},
        {"2026", "01 1", {}},
        {"２０２６", "0101", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rowDate(flight(c.yyyy, c.mmdd, "")), c.month) << c.yyyy << '/' << c.mmdd;
}

TEST(FlightFiguresTest, MonthsAcrossBoundariesSkippingRowsWithoutADate)
{
    const std::vector<RowFields> rows = {
        flight("2025", "0101", "", "", "", "100:00"), // opening row: no flight
        flight("2025", "1231", "1:00", "A", "P", "101:00"),
        flight("2026", "0101", "0:30", "B", "P", "101:30"),
        flight("2026", "0131", "", "B", "P", "101:30"), // empty time: no flight
        flight("", "", "2:00"),
        flight("2026", "0230", "2:00"),
        flight("2026", "0201", "99999999999:00", "A", "Q", "101:30"), // beyond any total
        flight("2026", "0301", "0:45", "A", "Q", "102:15"),
    };
    const MonthRange range = lastTwelveMonths(rows);
    EXPECT_EQ(range.first, month(2025, 4));
    EXPECT_EQ(range.last, month(2026, 3));

    const Figures figures = compute(rows, range);
    ASSERT_EQ(figures.months.size(), 12u);
    EXPECT_EQ(figures.months.front().month, month(2025, 4));
    const auto at = [&](int year, int m) {
        return figures.months[size_t((year * 12 + m) - (2025 * 12 + 4))];
    };
    EXPECT_EQ(at(2025, 12).minutes, 60);
    EXPECT_EQ(at(2025, 12).flights, 1);
    EXPECT_EQ(at(2026, 1).minutes, 30);
    EXPECT_EQ(at(2026, 1).flights, 1);
    EXPECT_EQ(at(2026, 2).minutes, 0);
    EXPECT_EQ(at(2026, 3).minutes, 45);
    EXPECT_EQ(figures.skippedRows, 2);
    EXPECT_EQ(figures.unreadableTimes, 1);

    // The opening row of January 2025 is outside the twelve months.
    ASSERT_EQ(figures.engine.size(), 4u);
    EXPECT_EQ(figures.engine[0].month, month(2025, 12));
    EXPECT_EQ(figures.engine[1].minutes, 101 * 60 + 30);
    EXPECT_EQ(figures.engine[3].month, month(2026, 3));
    EXPECT_EQ(figures.engine[3].minutes, 102 * 60 + 15);

    ASSERT_EQ(figures.crew.size(), 2u);
    EXPECT_EQ(figures.crew[0].name, "A");
    EXPECT_EQ(figures.crew[0].minutes, 105);

    // A range of its own counts only its months, and no range nothing.
    EXPECT_EQ(compute(rows, {month(2025, 1), month(2025, 12)}).months.back().minutes, 60);
    EXPECT_TRUE(compute(rows, {}).months.empty());
    EXPECT_FALSE(lastTwelveMonths(std::vector<RowFields>{flight("", "", "1:00")}).isValid());
}

TEST(FlightFiguresTest, TopTenAndTheRest)
{
    std::vector<RowFields> rows;
    // Twelve crew members, the n-th flying n hours; one purpose left empty.
    for (int n = 1; n <= 12; ++n) {
        RowFields row = flight("2026", "0401", "", "", "");
        row.flighttime = QStringLiteral("%1:00").arg(n);
        row.crew = QStringLiteral("C%1").arg(n);
        row.intention = n == 12 ? QString() : QStringLiteral("P%1").arg(n);
        rows.push_back(row);
    }
    const Figures figures = compute(rows, lastTwelveMonths(rows));
    ASSERT_EQ(figures.crew.size(), 11u);
    EXPECT_EQ(figures.crew[0].name, "C12");
    EXPECT_EQ(figures.crew[9].name, "C3");
    EXPECT_EQ(figures.crew[10].name, OtherName);
    EXPECT_EQ(figures.crew[10].minutes, 3 * 60);
    EXPECT_EQ(figures.purposes[0].name, UnnamedName);
}
