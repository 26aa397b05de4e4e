#include "paradox/sql_value.h"

#include "core/error.h"

#include <QDateTime>
#include <cmath>

namespace paradox::sql {
namespace {

using namespace Qt::StringLiterals;

// The range a Paradox short or long holds: the lowest bit pattern marks null.
constexpr qint64 ShortLimit = 32767;
constexpr qint64 LongLimit = 2147483647;

QString shown(const Literal& literal)
{
    switch (literal.kind) {
    case Literal::Kind::Text:
        return u'\'' + literal.text + u'\'';
    case Literal::Kind::Null:
        return QStringLiteral("NULL");
    default:
        return literal.text;
    }
}

[[noreturn]] void refuse(const Field& field, const Literal& literal, const QString& expected)
{
    throw SkelvoError(QStringLiteral("列 %1 には%2を入れます。%3 は入れられません。")
                          .arg(field.name, expected, shown(literal)));
}

// The literal as text to read a number, date or truth from; nullopt for
// blank text, which stands for no value.
std::optional<QString> readableText(const Literal& literal)
{
    const QString text = literal.text.trimmed();
    if (literal.kind == Literal::Kind::Text && text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<double> numberOf(const Literal& literal)
{
    if (literal.kind == Literal::Kind::Boolean)
        return literal.truth ? 1.0 : 0.0;
    bool ok = false;
    const double value = literal.text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QVariant integerValue(const Literal& literal, const Field& field)
{
    const QString expected = QStringLiteral("整数");
    const std::optional<QString> text = readableText(literal);
    if (!text)
        return {};
    bool ok = false;
    qint64 value = text->toLongLong(&ok);
    if (!ok) {
        const std::optional<double> number = numberOf(literal);
        if (!number || std::trunc(*number) != *number || std::fabs(*number) > 1e18)
            refuse(field, literal, expected);
        value = qint64(*number);
    }
    const qint64 limit = field.type == FieldType::Short ? ShortLimit : LongLimit;
    if (value < -limit || value > limit)
        refuse(field, literal, QStringLiteral("%1 から %2 までの整数").arg(-limit).arg(limit));
    return int(value);
}

QVariant realValue(const Literal& literal, const Field& field)
{
    if (!readableText(literal))
        return {};
    const std::optional<double> number = numberOf(literal);
    if (!number)
        refuse(field, literal, QStringLiteral("数値"));
    return *number;
}

QVariant decimalValue(const Literal& literal, const Field& field)
{
    const std::optional<QString> text = readableText(literal);
    if (!text)
        return {};
    if (!numberOf(literal) || literal.kind == Literal::Kind::Boolean)
        refuse(field, literal, QStringLiteral("数値"));
    return *text;
}

QVariant booleanValue(const Literal& literal, const Field& field)
{
    if (literal.kind == Literal::Kind::Boolean)
        return literal.truth;
    const std::optional<QString> text = readableText(literal);
    if (!text)
        return {};
    static const QLatin1StringView truths[] = {"1"_L1, "true"_L1, "t"_L1};
    static const QLatin1StringView falsehoods[] = {"0"_L1, "false"_L1, "f"_L1};
    for (QLatin1StringView word : truths) {
        if (text->compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    for (QLatin1StringView word : falsehoods) {
        if (text->compare(word, Qt::CaseInsensitive) == 0)
            return false;
    }
    refuse(field, literal, QStringLiteral("真偽値 (TRUE、FALSE、1、0)"));
}

// Dates and times come as ISO text, as Qt writes them into statements.
QVariant temporalValue(const Literal& literal, const Field& field, ValueClass kind)
{
    const std::optional<QString> text = readableText(literal);
    if (!text)
        return {};
    if (literal.kind == Literal::Kind::Text) {
        if (kind == ValueClass::Date) {
            const QDate date = QDate::fromString(*text, Qt::ISODate);
            if (date.isValid())
                return date;
        } else if (kind == ValueClass::Time) {
            const QTime time = QTime::fromString(*text, Qt::ISODateWithMs);
            if (time.isValid())
                return time;
        } else {
            const QDateTime moment = QDateTime::fromString(*text, Qt::ISODateWithMs);
            if (moment.isValid())
                return moment.timeSpec() == Qt::LocalTime ? moment : moment.toLocalTime();
        }
    }
    static const QString expected[] = {QStringLiteral("日付 ('yyyy-MM-dd')"),
                                       QStringLiteral("時刻 ('HH:mm:ss')"),
                                       QStringLiteral("日時 ('yyyy-MM-ddTHH:mm:ss')")};
    refuse(field, literal, expected[int(kind) - int(ValueClass::Date)]);
}

QVariant textValue(const Literal& literal)
{
    if (literal.kind == Literal::Kind::Boolean)
        return literal.truth ? QStringLiteral("1") : QStringLiteral("0");
    return literal.text;
}

template <typename T> T valueOf(const QVariant& value)
{
    if (value.metaType() == QMetaType::fromType<T>())
        return *static_cast<const T*>(value.constData());
    return qvariant_cast<T>(value);
}

qint64 integerOf(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::Int)
        return *static_cast<const int*>(value.constData());
    return value.toLongLong();
}

template <typename T> int ordered(const T& a, const T& b)
{
    return a < b ? -1 : b < a ? 1 : 0;
}

int compareNonNull(const QVariant& a, const QVariant& b, ValueClass kind)
{
    switch (kind) {
    case ValueClass::Integer:
        return ordered(integerOf(a), integerOf(b));
    case ValueClass::Real:
        return ordered(valueOf<double>(a), valueOf<double>(b));
    case ValueClass::Decimal:
        return ordered(valueOf<QString>(a).toDouble(), valueOf<QString>(b).toDouble());
    case ValueClass::Text:
        return valueOf<QString>(a).compare(valueOf<QString>(b));
    case ValueClass::Boolean:
        return ordered(valueOf<bool>(a), valueOf<bool>(b));
    case ValueClass::Date:
        return ordered(valueOf<QDate>(a), valueOf<QDate>(b));
    case ValueClass::Time:
        return ordered(valueOf<QTime>(a), valueOf<QTime>(b));
    case ValueClass::DateTime:
        return ordered(valueOf<QDateTime>(a), valueOf<QDateTime>(b));
    case ValueClass::Bytes:
        return valueOf<QByteArray>(a).compare(valueOf<QByteArray>(b));
    }
    return 0;
}

bool isAbsent(const QVariant& value)
{
    return !value.isValid() || value.isNull();
}

} // namespace

ValueClass valueClass(FieldType type)
{
    switch (type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement:
        return ValueClass::Integer;
    case FieldType::Number:
    case FieldType::Currency:
        return ValueClass::Real;
    case FieldType::Bcd:
        return ValueClass::Decimal;
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FormattedMemo:
        return ValueClass::Text;
    case FieldType::Logical:
        return ValueClass::Boolean;
    case FieldType::Date:
        return ValueClass::Date;
    case FieldType::Time:
        return ValueClass::Time;
    case FieldType::Timestamp:
        return ValueClass::DateTime;
    default:
        return ValueClass::Bytes;
    }
}

QVariant fieldValue(const Literal& literal, const Field& field)
{
    if (literal.kind == Literal::Kind::Null)
        return {};
    if (literal.kind == Literal::Kind::Parameter)
        throw SkelvoError(QStringLiteral("列 %1 の値 ? には、準備した文として値を渡してください。")
                              .arg(field.name));
    switch (const ValueClass kind = valueClass(field.type)) {
    case ValueClass::Integer:
        return integerValue(literal, field);
    case ValueClass::Real:
        return realValue(literal, field);
    case ValueClass::Decimal:
        return decimalValue(literal, field);
    case ValueClass::Text:
        return textValue(literal);
    case ValueClass::Boolean:
        return booleanValue(literal, field);
    case ValueClass::Date:
    case ValueClass::Time:
    case ValueClass::DateTime:
        return temporalValue(literal, field, kind);
    case ValueClass::Bytes:
        break;
    }
    throw SkelvoError(
        QStringLiteral("列 %1 はバイナリの列のため、SQL 文の値は使えません。").arg(field.name));
}

QVariant storedValue(const Literal& literal, const Field& field)
{
    QVariant value = fieldValue(literal, field);
    return isNullValue(value, valueClass(field.type)) ? QVariant() : value;
}

bool isNullValue(const QVariant& value, ValueClass kind)
{
    if (isAbsent(value))
        return true;
    return kind == ValueClass::Text && valueOf<QString>(value).isEmpty();
}

std::optional<int> compareValues(const QVariant& a, const QVariant& b, ValueClass kind)
{
    if (kind == ValueClass::Text) {
        static const QVariant empty = QString();
        return compareNonNull(isAbsent(a) ? empty : a, isAbsent(b) ? empty : b, kind);
    }
    if (isAbsent(a) || isAbsent(b))
        return std::nullopt;
    return compareNonNull(a, b, kind);
}

int orderValues(const QVariant& a, const QVariant& b, ValueClass kind)
{
    if (const std::optional<int> order = compareValues(a, b, kind))
        return *order;
    return ordered(!isAbsent(a), !isAbsent(b));
}

int fieldIndex(const QList<Field>& fields, QStringView name)
{
    // Statements mostly spell a column as the table does, which compares
    // at a fraction of the cost of folding the case of each name.
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name == name)
            return i;
    }
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int requireField(const QList<Field>& fields, const QString& name, const QString& table)
{
    const int index = fieldIndex(fields, name);
    if (index < 0)
        throw SkelvoError(QStringLiteral("テーブル %1 に列 %2 はありません。").arg(table, name));
    return index;
}

} // namespace paradox::sql
