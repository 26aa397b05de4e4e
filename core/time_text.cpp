#include "core/time_text.h"

#include <QStringView>
#include <limits>
#include <optional>

namespace MyutyTime {

namespace {

constexpr qint64 kMinInt = std::numeric_limits<qint32>::min();
constexpr qint64 kMaxInt = std::numeric_limits<qint32>::max();

bool fitsInt(qint64 value)
{
    return value >= kMinInt && value <= kMaxInt;
}

// A signed decimal integer: an optional '+' or '-', then one or more ASCII
// digits and nothing else (no blanks). Values beyond 32 bits are refused
// rather than wrapped, so a huge hours part cannot turn into a wrong total.
std::optional<qint64> readInteger(QStringView text)
{
    qsizetype pos = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-')) {
        negative = text[0] == u'-';
        pos = 1;
    }
    if (pos == text.size())
        return std::nullopt;

    qint64 magnitude = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > kMaxInt + 1) // stays far below the 64-bit limit
            return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (!fitsInt(value))
        return std::nullopt;
    return value;
}

struct HoursMinutes
{
    qint64 hours = 0;
    qint64 minutes = 0;
};

// Reads "H:MM" the way stored times have always been read: hours before the
// first colon; the minutes are the two characters after it once a "0" has
// been appended, so "1:5" is 1:50 and "12:" is 12:00. Text without a colon is
// zero. With signedMinutes, a leading '-' negates the minutes too ("-0:30").
std::optional<HoursMinutes> readTime(const QString& text, bool signedMinutes)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return HoursMinutes{};

    const auto hours = readInteger(QStringView(text).left(colon));
    // The two characters after the colon of the text with "0" appended.
    const QStringView rest = QStringView(text).sliced(colon + 1);
    char16_t padded[2] = {u'0', u'0'};
    const qsizetype length = qMin<qsizetype>(2, rest.size() + 1);
    for (qsizetype i = 0; i < length && i < rest.size(); ++i)
        padded[i] = rest[i].unicode();
    const auto minutes = readInteger(QStringView(padded, length));
    if (!hours || !minutes)
        return std::nullopt;

    HoursMinutes result{*hours, *minutes};
    if (signedMinutes && text.startsWith(u'-'))
        result.minutes = -result.minutes;
    return result;
}

// Whole-minute value of a time, refused when it leaves the 32-bit range the
// stores and totals are kept in.
std::optional<qint64> readMinutes(const QString& text, bool signedMinutes)
{
    const auto time = readTime(text, signedMinutes);
    if (!time)
        return std::nullopt;
    const qint64 value = time->hours * 60 + time->minutes;
    if (!fitsInt(value))
        return std::nullopt;
    return value;
}

// As printf's "%.2d" writes it: the sign, then two digits at least.
void appendField(QString& text, int value)
{
    if (value < 0)
        text += u'-';
    const QString digits = QString::number(qAbs(qint64(value)));
    if (digits.size() < 2)
        text += u'0';
    text += digits;
}

// A recalculation writes several times a row: without printf's parsing.
QString formatHoursMinutes(qint64 hours, qint64 minutes)
{
    QString text;
    text.reserve(12);
    appendField(text, static_cast<int>(hours));
    text += u':';
    appendField(text, static_cast<int>(minutes));
    return text;
}

// Zero is the empty cell; a negative total shows its sign on every non-zero
// field ("-23:-30", "00:-30"). A total beyond 32 bits is no time at all.
QString writeMinutes(qint64 total)
{
    if (total == 0 || !fitsInt(total))
        return {};
    return formatHoursMinutes(total / 60, total % 60);
}

// Rounds numerator / 100 to the nearest integer, halves to the even
// neighbour, exactly (no floating point, which would lose minutes on very
// large values).
qint64 divideBy100HalfEven(qint64 numerator)
{
    qint64 quotient = numerator / 100;
    const qint64 remainder = numerator % 100;
    const qint64 twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > 100 || (twice == 100 && quotient % 2 != 0))
        quotient += numerator < 0 ? -1 : 1;
    return quotient;
}

// A + sign x B; one unreadable operand empties the result.
QString combine(const QString& a, const QString& b, int sign)
{
    const auto valueA = readMinutes(a, true);
    const auto valueB = readMinutes(b, true);
    if (!valueA || !valueB)
        return {};
    return writeMinutes(*valueA + sign * *valueB);
}

} // namespace

QString TimeAdd(QString a, QString b)
{
    return combine(a, b, +1);
}

QString TimeDiff(QString a, QString b)
{
    return combine(a, b, -1);
}

std::optional<qint64> TimeMinutes(const QString& text)
{
    return readMinutes(text, true);
}

QString MinutesText(qint64 minutes)
{
    return writeMinutes(minutes);
}

QString TimePercent(QString a, int percent)
{
    const auto value = readMinutes(a, false);
    if (!value)
        return {};
    // Both factors are within 32 bits, so the product fits in 64.
    return writeMinutes(divideBy100HalfEven(*value * percent));
}

QString NormalizeTimeText(const QString& typed)
{
    const QStringView text(typed);

    qint64 minutes = 0;
    if (!text.isEmpty())
        minutes = readInteger(text.size() == 1 ? text : text.right(2)).value_or(0);

    qint64 hours = 0;
    if (text.size() > 2) {
        QString digits;
        for (const QChar c : text.chopped(2)) {
            if (c >= u'0' && c <= u'9')
                digits += c;
        }
        const auto read = readInteger(digits);
        if (!read)
            return {};
        hours = *read;
    }
    return formatHoursMinutes(hours, minutes);
}

} // namespace MyutyTime
