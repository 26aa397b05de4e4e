#pragma once

#include <QDate>
#include <QString>
#include <span>
#include <vector>

// The flying at a glance: time and flights per month, who flew and what for,
// and the engine's time since overhaul, from the rows' fields as the table
// holds them. Plain input in, plain figures out; the statistics window only
// draws them.
namespace Statistics {

struct RowFields
{
    QString yyyy{};
    QString mmdd{};
    QString crew{};
    QString intention{};
    QString flighttime{};
    QString e_sinceov{};
};

// The first day of the row's month, or an invalid date when the row has no
// date or one that cannot be (month 13, 30 February).
QDate rowDate(const RowFields& row);

// Months are given by their first day; both ends count.
struct MonthRange
{
    QDate first;
    QDate last;
    bool isValid() const { return first.isValid() && last.isValid() && first <= last; }
};

// The twelve months that end with the latest month any row is dated in;
// invalid when no row has a readable date.
MonthRange lastTwelveMonths(std::span<const RowFields> rows);
// From the earliest to the latest month the rows are dated in.
MonthRange monthsSpanned(std::span<const RowFields> rows);

struct MonthFigures
{
    QDate month;
    qint64 minutes = 0;
    int flights = 0; // rows with a flight time
};

struct Share
{
    QString name; // OtherName for the rest past the top ten
    qint64 minutes = 0;
};
inline const QString OtherName = QStringLiteral("その他");
inline const QString UnnamedName = QStringLiteral("(記入なし)");
inline constexpr int TopShares = 10;

struct EnginePoint
{
    QDate month;
    qint64 minutes = 0; // since overhaul at the month's last row
};

struct Figures
{
    MonthRange range;
    std::vector<MonthFigures> months; // every month of the range, in order
    std::vector<Share> crew;          // most time first, then OtherName
    std::vector<Share> purposes;
    std::vector<EnginePoint> engine; // months with a readable value only
    int skippedRows = 0;             // no date, or one that cannot be
    int unreadableTimes = 0;         // flight times counted as zero
};

// The figures of the rows dated inside the range; one pass over the rows.
Figures compute(std::span<const RowFields> rows, const MonthRange& range);

} // namespace Statistics
