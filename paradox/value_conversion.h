#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

// Values reach a table as their writer has them, often as text from an SQL
// statement ('5', '2010-07-03'). Each function turns one into what a field of
// its kind holds: nothing for null (and for empty text), or an error that
// names the field when the value cannot be read as that kind.
namespace paradox::codec {

bool isNull(const QVariant& value);

// Whole numbers between low and high.
std::optional<qint64> integerValue(const QVariant& value, const QString& field, qint64 low,
                                   qint64 high);
// Finite numbers.
std::optional<double> numberValue(const QVariant& value, const QString& field);
std::optional<bool> logicalValue(const QVariant& value, const QString& field);
std::optional<QDate> dateValue(const QVariant& value, const QString& field);
std::optional<QTime> timeValue(const QVariant& value, const QString& field);
// In local time, as tables keep the time of day without a zone.
std::optional<QDateTime> timestampValue(const QVariant& value, const QString& field);
QString textValue(const QVariant& value);

} // namespace paradox::codec
