#include "paradox/value_conversion.h"

#include "core/error.h"

#include <cmath>

namespace paradox::codec {
namespace {

[[noreturn]] void notA(const QString& kind, const QVariant& value, const QString& field)
{
    throw SkelvoError(QStringLiteral("フィールド「%1」: 「%2」は%3ではありません。")
                          .arg(field, value.toString(), kind));
}

bool isText(const QVariant& value)
{
    const int type = value.typeId();
    return type == QMetaType::QString || type == QMetaType::QByteArray;
}

bool isNumeric(const QVariant& value)
{
    return value.typeId() != QMetaType::Bool && value.canConvert<double>() && !isText(value) &&
           value.typeId() != QMetaType::QChar;
}

// Text with surrounding blanks removed; nothing when it is empty.
std::optional<QString> trimmedText(const QVariant& value)
{
    QString text = value.toString().trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

template <typename T>
std::optional<T> parsed(const QVariant& value, const QString& field, const QString& kind,
                        std::initializer_list<QString> formats, Qt::DateFormat isoFormat)
{
    const std::optional<QString> text = trimmedText(value);
    if (!text)
        return std::nullopt;
    T result = T::fromString(*text, isoFormat);
    for (const QString& format : formats) {
        if (result.isValid())
            break;
        result = T::fromString(*text, format);
    }
    if (!result.isValid())
        notA(kind, value, field);
    return result;
}

} // namespace

bool isNull(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

namespace {

// The value as a number: nullopt for null or blank text; ok is false when
// the value is no number at all.
std::optional<double> numberOf(const QVariant& value, bool& ok)
{
    ok = true;
    if (isNull(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1.0 : 0.0;
    if (isText(value)) {
        const std::optional<QString> text = trimmedText(value);
        if (!text)
            return std::nullopt;
        return text->toDouble(&ok);
    }
    if (isNumeric(value))
        return value.toDouble(&ok);
    ok = false;
    return 0.0;
}

} // namespace

std::optional<qint64> integerValue(const QVariant& value, const QString& field, qint64 low,
                                   qint64 high)
{
    bool ok = true;
    const std::optional<double> read = numberOf(value, ok);
    if (ok && !read)
        return std::nullopt;
    const double number = read.value_or(0);
    if (!ok || !std::isfinite(number) || std::trunc(number) != number)
        notA(QStringLiteral("整数"), value, field);
    if (number < double(low) || number > double(high))
        throw SkelvoError(
            QStringLiteral("フィールド「%1」: %2 は範囲 (%3 から %4 まで) の外です。")
                .arg(field, value.toString(), QString::number(low), QString::number(high)));
    return qint64(number);
}

std::optional<double> numberValue(const QVariant& value, const QString& field)
{
    bool ok = true;
    const std::optional<double> read = numberOf(value, ok);
    if (ok && !read)
        return std::nullopt;
    const double number = read.value_or(0);
    if (!ok || !std::isfinite(number))
        notA(QStringLiteral("数値"), value, field);
    return number;
}

std::optional<bool> logicalValue(const QVariant& value, const QString& field)
{
    if (isNull(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isNumeric(value))
        return value.toDouble() != 0;
    const std::optional<QString> text = trimmedText(value);
    if (!text)
        return std::nullopt;
    const QString word = text->toLower();
    static const QStringList yes{"true", "t", "yes", "y", "1", "on"};
    static const QStringList no{"false", "f", "no", "n", "0", "off"};
    if (yes.contains(word))
        return true;
    if (no.contains(word))
        return false;
    notA(QStringLiteral("真偽値"), value, field);
}

std::optional<QDate> dateValue(const QVariant& value, const QString& field)
{
    if (isNull(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime().date();
    return parsed<QDate>(value, field, QStringLiteral("日付"), {QStringLiteral("yyyy/M/d")},
                         Qt::ISODate);
}

std::optional<QTime> timeValue(const QVariant& value, const QString& field)
{
    if (isNull(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::QTime)
        return value.toTime();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime().time();
    return parsed<QTime>(value, field, QStringLiteral("時刻"),
                         {QStringLiteral("H:mm"), QStringLiteral("H:mm:ss")}, Qt::ISODateWithMs);
}

std::optional<QDateTime> timestampValue(const QVariant& value, const QString& field)
{
    if (isNull(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().startOfDay();
    const std::optional<QDateTime> moment = parsed<QDateTime>(
        value, field, QStringLiteral("日時"),
        {QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"), QStringLiteral("yyyy-MM-dd HH:mm:ss"),
         QStringLiteral("yyyy/M/d H:mm:ss"), QStringLiteral("yyyy/M/d H:mm")},
        Qt::ISODateWithMs);
    if (!moment)
        return std::nullopt;
    return moment->toLocalTime();
}

QString textValue(const QVariant& value)
{
    return isNull(value) ? QString() : value.toString();
}

} // namespace paradox::codec
