#include "statistics/flight_figures.h"

#include "core/time_text.h"

#include <QHash>
#include <algorithm>
#include <optional>

namespace Statistics {

namespace {

// Digits only: a year or a month-day with anything else is no date.
std::optional<int> digits(const QString& text, int count)
{
    if (text.size() != count)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

int monthIndex(const QDate& month)
{
    return month.year() * 12 + month.month() - 1;
}

QDate monthOfIndex(int index)
{
    return QDate(index / 12, index % 12 + 1, 1);
}

// The row's month as year * 12 + month - 1, without making a date: the
// figures read every row.
std::optional<int> rowMonthIndex(const RowFields& row)
{
    const std::optional<int> year = digits(row.yyyy, 4), monthDay = digits(row.mmdd, 4);
    if (!year || !monthDay || !QDate::isValid(*year, *monthDay / 100, *monthDay % 100))
        return std::nullopt;
    return *year * 12 + *monthDay / 100 - 1;
}

QString nameOf(const QString& text)
{
    QString name = text.trimmed();
    return name.isEmpty() ? UnnamedName : name;
}

std::vector<Share> topShares(const QHash<QString, qint64>& minutes)
{
    std::vector<Share> shares;
    shares.reserve(size_t(minutes.size()));
    for (auto it = minutes.cbegin(); it != minutes.cend(); ++it)
        shares.push_back({it.key(), it.value()});
    // Names break ties so that the same rows always give the same order.
    std::sort(shares.begin(), shares.end(), [](const Share& a, const Share& b) {
        return a.minutes != b.minutes ? a.minutes > b.minutes : a.name < b.name;
    });
    if (shares.size() > size_t(TopShares)) {
        Share rest{OtherName, 0};
        for (size_t i = TopShares; i < shares.size(); ++i)
            rest.minutes += shares[i].minutes;
        shares.resize(TopShares);
        shares.push_back(rest);
    }
    return shares;
}

} // namespace

QDate rowDate(const RowFields& row)
{
    const std::optional<int> index = rowMonthIndex(row);
    return index ? monthOfIndex(*index) : QDate();
}

MonthRange monthsSpanned(std::span<const RowFields> rows)
{
    std::optional<int> first, last;
    for (const RowFields& row : rows) {
        const std::optional<int> index = rowMonthIndex(row);
        if (!index)
            continue;
        first = std::min(first.value_or(*index), *index);
        last = std::max(last.value_or(*index), *index);
    }
    if (!first)
        return {};
    return {monthOfIndex(*first), monthOfIndex(*last)};
}

MonthRange lastTwelveMonths(std::span<const RowFields> rows)
{
    const QDate last = monthsSpanned(rows).last;
    if (!last.isValid())
        return {};
    return {last.addMonths(-11), last};
}

Figures compute(std::span<const RowFields> rows, const MonthRange& range)
{
    Figures figures;
    figures.range = range;
    if (range.isValid()) {
        for (QDate month = range.first; month <= range.last; month = month.addMonths(1))
            figures.months.push_back({month});
    }
    const int firstIndex = range.isValid() ? monthIndex(range.first) : 0;
    std::vector<std::optional<qint64>> engine(figures.months.size());
    QHash<QString, qint64> crew, purposes;
    for (const RowFields& row : rows) {
        const std::optional<int> rowIndex = rowMonthIndex(row);
        if (!rowIndex) {
            ++figures.skippedRows;
            continue;
        }
        const int index = *rowIndex - firstIndex;
        if (index < 0 || index >= int(figures.months.size()))
            continue;
        // Empty time text is zero, as everywhere in the log.
        const std::optional<qint64> minutes = MyutyTime::TimeMinutes(row.flighttime);
        if (!minutes)
            ++figures.unreadableTimes;
        if (minutes && *minutes > 0) {
            MonthFigures& figure = figures.months[size_t(index)];
            figure.minutes += *minutes;
            ++figure.flights;
            crew[nameOf(row.crew)] += *minutes;
            purposes[nameOf(row.intention)] += *minutes;
        }
        // The rows are in table order, so the month's last row holds its
        // latest total.
        if (const std::optional<qint64> sinceOverhaul = MyutyTime::TimeMinutes(row.e_sinceov))
            engine[size_t(index)] = *sinceOverhaul;
    }
    for (size_t i = 0; i < engine.size(); ++i) {
        if (engine[i])
            figures.engine.push_back({figures.months[i].month, *engine[i]});
    }
    figures.crew = topShares(crew);
    figures.purposes = topShares(purposes);
    return figures;
}

} // namespace Statistics
