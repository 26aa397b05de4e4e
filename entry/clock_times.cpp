#include "entry/clock_times.h"

#include "core/time_text.h"

#include <QRegularExpression>

using MyutyTime::MinutesText;
using MyutyTime::NormalizeTimeText;
using MyutyTime::TimeMinutes;

namespace ClockTimes {

namespace {

constexpr qint64 MinutesPerDay = 24 * 60;
constexpr qint64 LongestFlight = 12 * 60;

QString& boxText(Boxes& boxes, Box box)
{
    switch (box) {
    case Box::EngineStart:
        return boxes.engineStart;
    case Box::TakeOff:
        return boxes.takeOff;
    case Box::Landing:
        return boxes.landing;
    case Box::EngineStop:
        break;
    }
    return boxes.engineStop;
}

// Minutes since midnight of a box's text; nothing for a blank box.
std::optional<qint64> minuteOfDay(const QString& text)
{
    if (text.isEmpty())
        return std::nullopt;
    return TimeMinutes(text);
}

QString formatTimeOfDay(qint64 minutes)
{
    const qint64 wrapped = (minutes % MinutesPerDay + MinutesPerDay) % MinutesPerDay;
    return QString::asprintf("%.2d:%.2d", int(wrapped / 60), int(wrapped % 60));
}

// A derived engine time: the time given moved by the offset, across midnight
// if need be; nothing derived from a blank box.
QString shifted(const QString& time, const QString& offset, int sign)
{
    const auto at = minuteOfDay(time);
    const auto by = TimeMinutes(offset);
    if (!at || !by)
        return {};
    return formatTimeOfDay(*at + sign * *by);
}

void blockTime(Leave& leave)
{
    if (!leave.boxes.engineStart.isEmpty() && !leave.boxes.engineStop.isEmpty())
        leave.blocktime = duration(leave.boxes.engineStart, leave.boxes.engineStop);
}

// The text trimmed, full-width digits and colon read as their ASCII forms.
QString withAsciiDigits(const QString& typed)
{
    QString text = typed.trimmed();
    for (QChar& c : text) {
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
            c = QChar(u'0' + (c.unicode() - 0xFF10));
        else if (c == QChar(0xFF1A))
            c = u':';
    }
    return text;
}

} // namespace

QString nameOf(Box box)
{
    static const QString names[] = {QStringLiteral("発進"), QStringLiteral("離陸"),
                                    QStringLiteral("着陸"), QStringLiteral("停止")};
    return names[int(box)];
}

std::optional<QString> timeOfDay(const QString& typed)
{
    const QString text = withAsciiDigits(typed);
    if (text.isEmpty())
        return QString();
    // Digits as on paper, or hours, a colon and two minute digits: other
    // text ("12:3", "9.30") would lose what was typed in the rewriting.
    static const QRegularExpression typedForm(QStringLiteral("^([0-9]{1,4}|[0-9]{1,2}:[0-9]{2})$"));
    if (!typedForm.match(text).hasMatch())
        return std::nullopt;
    const QString time = NormalizeTimeText(text);
    const qsizetype colon = time.indexOf(u':');
    if (time.left(colon).toInt() > 23 || time.mid(colon + 1).toInt() > 59)
        return std::nullopt;
    return time;
}

QString duration(const QString& from, const QString& to)
{
    const auto start = TimeMinutes(from);
    const auto end = TimeMinutes(to);
    if (!start || !end)
        return {};
    const qint64 minutes = *end - *start;
    return MinutesText(minutes < 0 ? minutes + MinutesPerDay : minutes);
}

Leave leaveBox(Box left, Boxes boxes, const AutoStartStop& autoStartStop)
{
    QString& own = boxText(boxes, left);
    own = timeOfDay(own).value_or(QString());
    Leave leave{boxes, {}, {}};
    Boxes& b = leave.boxes;
    switch (left) {
    case Box::EngineStart:
    case Box::EngineStop:
        blockTime(leave);
        break;
    case Box::TakeOff:
    case Box::Landing:
        if (!b.takeOff.isEmpty() && !b.landing.isEmpty())
            leave.flighttime = duration(b.takeOff, b.landing);
        if (!autoStartStop.on)
            break;
        // Take-off does not recompute the block time; landing does, from
        // the engine stop it has just derived.
        if (left == Box::TakeOff) {
            b.engineStart = shifted(b.takeOff, autoStartStop.offset, -1);
        } else {
            b.engineStop = shifted(b.landing, autoStartStop.offset, +1);
            blockTime(leave);
        }
        break;
    }
    return leave;
}

Order checkOrder(const Boxes& boxes)
{
    const auto texts = boxes.inOrder();
    Order order;
    std::optional<std::pair<int, qint64>> first;
    std::optional<std::pair<int, qint64>> previous;
    for (int i = 0; i < BoxCount; ++i) {
        const auto at = minuteOfDay(texts[i]);
        if (!at)
            continue;
        if (previous && *at < previous->second)
            order.reversed.append({Box(previous->first), Box(i)});
        if (!first)
            first = {i, *at};
        previous = {i, *at};
    }
    order.overTwelveHours =
        order.reversed.isEmpty() && first && previous->second - first->second > LongestFlight;
    return order;
}

Box Order::firstBox(const Boxes& boxes) const
{
    if (!reversed.isEmpty())
        return reversed.first().first;
    const auto texts = boxes.inOrder();
    for (int i = 0; i < BoxCount; ++i) {
        if (!texts[i].isEmpty())
            return Box(i);
    }
    return Box::EngineStart;
}

QString Order::question(const Boxes& boxes) const
{
    const auto texts = boxes.inOrder();
    const auto named = [&texts](Box box) {
        return QStringLiteral("%1 %2").arg(nameOf(box), texts[int(box)]);
    };
    QStringList lines;
    for (const auto& [earlier, later] : reversed)
        lines.append(
            QStringLiteral("%1 が %2 より後になっています。").arg(named(earlier), named(later)));
    if (overTwelveHours) {
        const Box from = firstBox(boxes);
        Box to = from;
        for (int i = 0; i < BoxCount; ++i) {
            if (!texts[i].isEmpty())
                to = Box(i);
        }
        lines.append(
            QStringLiteral("%1 から %2 まで 12 時間を超えています。").arg(named(from), named(to)));
    }
    return QStringLiteral("時刻の順序を確かめてください。\n%1\n"
                          "このまま保存しますか？（日付をまたぐ飛行は「はい」）")
        .arg(lines.join(u'\n'));
}

std::optional<QString> typedDuration(const QString& typed)
{
    const QString text = withAsciiDigits(typed);
    static const QRegularExpression typedForm(QStringLiteral("^([0-9]*|[0-9]+:[0-9]{2})$"));
    if (!typedForm.match(text).hasMatch())
        return std::nullopt;
    return NormalizeTimeText(text);
}

std::optional<QString> normalizePowerTime(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return QString();
    const bool negative = text.startsWith(u'-');
    const auto value = typedDuration(negative ? text.mid(1) : text);
    if (!value || !negative || MyutyTime::TimeAdd(*value, {}).isEmpty())
        return value;
    return u'-' + *value;
}

} // namespace ClockTimes
