#include "maintenance/maintenance_rules.h"

#include "core/time_text.h"

#include <optional>

namespace Maintenance {

namespace {

using Mark = bool RowFacts::*;
using Field = QString RowFacts::*;

// The columns one hours limit counts in.
struct Counter
{
    Item item;
    Mark mark;
    Field sinceManufacture;
    Field sinceOverhaul;
    const char16_t* totalName;
};

constexpr Counter Airframe{Item::AirframeInspection, &RowFacts::ovh, &RowFacts::sincema,
                           &RowFacts::sinceov, u"製造後"};
constexpr Counter Engine{Item::EngineHours, &RowFacts::e_ovh, &RowFacts::e_sincema,
                         &RowFacts::e_sinceov, u"E製造後"};
constexpr Counter Propeller{Item::PropellerHours, &RowFacts::p_ovh, &RowFacts::p_sincema,
                            &RowFacts::p_sinceov, u"P製造後"};

// The last row carrying the mark; before the first mark the count runs
// from the opening row and the totals it came with.
int lastMarked(const std::vector<RowFacts>& rows, Mark mark)
{
    for (int row = int(rows.size()) - 1; row > 0; --row) {
        if (rows[row].*mark)
            return row;
    }
    return 0;
}

State stateOf(qint64 remaining, qint64 margin)
{
    if (remaining < 0)
        return State::Red;
    return remaining <= margin ? State::Amber : State::Green;
}

// The time since the start row is the growth of the since-manufacture total
// plus what the start row had since its overhaul (zero on an overhaul row
// typed that way, the starting figure on the opening row). Rows after the
// start that hold no total yet do not count as a total of zero.
Status byHours(const std::vector<RowFacts>& rows, const Counter& counter, int limitHours,
               int marginPercent)
{
    Status status;
    status.item = counter.item;
    status.startRow = lastMarked(rows, counter.mark);
    const RowFacts& start = rows[status.startRow];
    QString latest = start.*counter.sinceManufacture;
    for (size_t row = status.startRow + 1; row < rows.size(); ++row) {
        if (!(rows[row].*counter.sinceManufacture).isEmpty())
            latest = rows[row].*counter.sinceManufacture;
    }
    const std::optional<qint64> startTotal =
        MyutyTime::TimeMinutes(start.*counter.sinceManufacture);
    const std::optional<qint64> startSince = MyutyTime::TimeMinutes(start.*counter.sinceOverhaul);
    const std::optional<qint64> latestTotal = MyutyTime::TimeMinutes(latest);
    if (!startTotal || !startSince || !latestTotal)
        return status;
    const qint64 limit = qint64(limitHours) * 60;
    const qint64 dueAt = *startTotal - *startSince + limit;
    status.remaining = dueAt - *latestTotal;
    status.dueTotal = QString::fromUtf16(counter.totalName) + u' ' +
                      (dueAt == 0 ? QStringLiteral("00:00") : MyutyTime::MinutesText(dueAt));
    status.state = stateOf(status.remaining, limit * marginPercent / 100);
    return status;
}

// A row's date from its year and month-day columns; invalid when they do
// not make a date.
QDate rowDate(const RowFacts& row)
{
    const QString year = row.yyyy.trimmed();
    QString monthDay = row.mmdd.trimmed();
    if (monthDay.size() == 3)
        monthDay.prepend(u'0');
    const auto digits = [](const QString& text) {
        for (QChar c : text) {
            if (c < u'0' || c > u'9')
                return false;
        }
        return true;
    };
    if (year.size() != 4 || monthDay.size() != 4 || !digits(year) || !digits(monthDay))
        return {};
    return QDate(year.toInt(), monthDay.left(2).toInt(), monthDay.mid(2).toInt());
}

Status byDate(const std::vector<RowFacts>& rows, Item item, Mark mark, int years, int days,
              int marginDays, QDate today)
{
    Status status;
    status.item = item;
    status.byDate = true;
    status.startRow = lastMarked(rows, mark);
    const QDate start = rowDate(rows[status.startRow]);
    if (!start.isValid() || !today.isValid())
        return status;
    // A year from 29 February ends on 28 February.
    status.dueDate = start.addYears(years).addDays(days);
    status.remaining = today.daysTo(status.dueDate);
    status.state = stateOf(status.remaining, marginDays);
    return status;
}

QString hoursText(qint64 minutes)
{
    return minutes == 0 ? QStringLiteral("00:00") : MyutyTime::MinutesText(minutes);
}

} // namespace

bool Limits::anySet() const
{
    return engineHours > 0 || engineYears > 0 || propellerHours > 0 || propellerYears > 0 ||
           airframeInspectionHours > 0 || airworthinessYears > 0 || airworthinessDays > 0;
}

std::vector<Status> evaluate(const std::vector<RowFacts>& rows, const Limits& limits, QDate today)
{
    std::vector<Status> result;
    if (rows.empty())
        return result;
    const int margin = limits.marginPercent;
    if (limits.engineHours > 0)
        result.push_back(byHours(rows, Engine, limits.engineHours, margin));
    if (limits.engineYears > 0)
        result.push_back(byDate(rows, Item::EngineYears, &RowFacts::e_ovh, limits.engineYears, 0,
                                limits.marginDays, today));
    if (limits.propellerHours > 0)
        result.push_back(byHours(rows, Propeller, limits.propellerHours, margin));
    if (limits.propellerYears > 0)
        result.push_back(byDate(rows, Item::PropellerYears, &RowFacts::p_ovh, limits.propellerYears,
                                0, limits.marginDays, today));
    if (limits.airframeInspectionHours > 0)
        result.push_back(byHours(rows, Airframe, limits.airframeInspectionHours, margin));
    if (limits.airworthinessYears > 0 || limits.airworthinessDays > 0)
        result.push_back(byDate(rows, Item::Airworthiness, &RowFacts::airworthiness,
                                limits.airworthinessYears, limits.airworthinessDays,
                                limits.marginDays, today));
    return result;
}

QString title(Item item)
{
    switch (item) {
    case Item::EngineHours:
        return QStringLiteral("エンジン時間");
    case Item::EngineYears:
        return QStringLiteral("エンジン年数");
    case Item::PropellerHours:
        return QStringLiteral("プロペラ時間");
    case Item::PropellerYears:
        return QStringLiteral("プロペラ年数");
    case Item::AirframeInspection:
        return QStringLiteral("機体点検");
    case Item::Airworthiness:
        return QStringLiteral("耐空検査");
    }
    return {};
}

QString remainingText(const Status& status)
{
    if (status.state == State::Unknown)
        return QStringLiteral("不明");
    const QString word = status.remaining < 0 ? QStringLiteral("超過") : QStringLiteral("残り");
    const qint64 amount = status.remaining < 0 ? -status.remaining : status.remaining;
    return status.byDate ? QStringLiteral("%1 %2日").arg(word).arg(amount)
                         : word + u' ' + hoursText(amount);
}

QString dueText(const Status& status)
{
    if (status.state == State::Unknown)
        return {};
    return status.byDate ? status.dueDate.toString(QStringLiteral("yyyy/MM/dd")) : status.dueTotal;
}

} // namespace Maintenance
