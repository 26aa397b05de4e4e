#include "paradox/field_writing.h"

#include "core/error.h"
#include "paradox/code_page.h"
#include "paradox/memo_writer.h"
#include "paradox/number_encoding.h"
#include "paradox/value_conversion.h"

#include <cstring>
#include <limits>

namespace paradox::codec {
namespace {

[[noreturn]] void fieldError(const QString& field, const QString& problem)
{
    throw SkelvoError(QStringLiteral("フィールド「%1」: %2").arg(field, problem));
}

// The largest magnitude an integer field holds: the most negative value of
// its width would be stored as all zero bytes, which reads as null.
qint64 integerLimit(int size)
{
    return (qint64(1) << (8 * size - 1)) - 1;
}

// Days from the format's day zero. A date or moment too far out for local
// time comes back invalid, without a day number; it counts as beyond any
// range rather than as a day.
qint64 daysFromDayZero(const QDate& date)
{
    return date.isValid() ? date.toJulianDay() - JulianDayOfDayZero
                          : std::numeric_limits<qint64>::max();
}

QByteArray encodedText(const QString& text, const QString& field, const CodePage& codePage,
                       int maxBytes)
{
    if (text.contains(QChar(0)))
        fieldError(field, QStringLiteral("文字列に NUL 文字があります。"));
    QByteArray bytes;
    try {
        bytes = codePage.encode(text);
    } catch (const SkelvoError& error) {
        fieldError(field, error.message());
    }
    // A legal record keeps what was written or nothing: never a cut text.
    if (maxBytes >= 0 && bytes.size() > maxBytes)
        fieldError(field, QStringLiteral("文字列が長すぎます。%1 バイトまでです (%2 バイト)。")
                              .arg(QString::number(maxBytes), QString::number(bytes.size())));
    return bytes;
}

void writeMemo(const FieldLayout& layout, const QString& field, const QVariant& value,
               const CodePage& codePage, MemoWriter* memo, char* out)
{
    const QByteArray text = encodedText(textValue(value), field, codePage, -1);
    if (text.isEmpty())
        return;
    const int leader = layout.size - BlobTailSize;
    char* tail = out + leader;
    std::memcpy(out, text.constData(), size_t(qMin<qsizetype>(leader, text.size())));
    qToLittleEndian(quint32(text.size()), tail + 4);
    if (text.size() <= leader)
        return; // all of it in the leader: no location, no modification number
    if (!memo)
        fieldError(field, QStringLiteral("メモファイル (.MB) がないため、%1 バイトを超える"
                                         "メモは書けません。")
                              .arg(leader));
    const MemoWriter::Stored stored = memo->store(text);
    qToLittleEndian(stored.location, tail);
    qToLittleEndian(stored.modification, tail + 8);
}

void writeValue(const FieldLayout& layout, const QString& field, const QVariant& value,
                const CodePage& codePage, MemoWriter* memo, char* out)
{
    switch (layout.type) {
    case FieldType::Alpha: {
        const QByteArray text = encodedText(textValue(value), field, codePage, layout.size);
        std::memcpy(out, text.constData(), size_t(text.size()));
        return;
    }
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement: {
        const qint64 limit = integerLimit(layout.size);
        if (const auto number = integerValue(value, field, -limit, limit))
            writeFlippedInteger(out, layout.size, *number);
        return;
    }
    case FieldType::Logical:
        if (const auto truth = logicalValue(value, field))
            writeFlippedInteger(out, 1, *truth ? 1 : 0);
        return;
    case FieldType::Number:
    case FieldType::Currency:
        if (const auto number = numberValue(value, field))
            writeFlippedDouble(out, *number);
        return;
    case FieldType::Date:
        if (const auto date = dateValue(value, field)) {
            const qint64 days = daysFromDayZero(*date);
            if (days < -MaxDays || days > MaxDays)
                fieldError(field, QStringLiteral("日付が範囲の外です。"));
            writeFlippedInteger(out, 4, days);
        }
        return;
    case FieldType::Time:
        if (const auto time = timeValue(value, field))
            writeFlippedInteger(out, 4, time->msecsSinceStartOfDay());
        return;
    case FieldType::Timestamp:
        if (const auto moment = timestampValue(value, field)) {
            const qint64 days = daysFromDayZero(moment->date());
            if (days <= -MaxDays || days >= MaxDays)
                fieldError(field, QStringLiteral("日時が範囲の外です。"));
            writeFlippedDouble(
                out, double(days * MillisecondsPerDay + moment->time().msecsSinceStartOfDay()));
        }
        return;
    case FieldType::Memo:
        writeMemo(layout, field, value, codePage, memo, out);
        return;
    default:
        fieldError(field, QStringLiteral("この型のフィールドには書き込めません。"));
    }
}

} // namespace

bool writesType(FieldType type)
{
    switch (type) {
    case FieldType::Alpha:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement:
    case FieldType::Logical:
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
    case FieldType::Memo:
        return true;
    default:
        return false;
    }
}

QString typeLetter(FieldType type)
{
    switch (type) {
    case FieldType::Alpha:
        return QStringLiteral("A");
    case FieldType::Date:
        return QStringLiteral("D");
    case FieldType::Short:
        return QStringLiteral("S");
    case FieldType::Long:
        return QStringLiteral("I");
    case FieldType::Currency:
        return QStringLiteral("$");
    case FieldType::Number:
        return QStringLiteral("N");
    case FieldType::Logical:
        return QStringLiteral("L");
    case FieldType::Memo:
        return QStringLiteral("M");
    case FieldType::Blob:
        return QStringLiteral("B");
    case FieldType::FormattedMemo:
        return QStringLiteral("F");
    case FieldType::Ole:
        return QStringLiteral("O");
    case FieldType::Graphic:
        return QStringLiteral("G");
    case FieldType::Time:
        return QStringLiteral("T");
    case FieldType::Timestamp:
        return QStringLiteral("@");
    case FieldType::AutoIncrement:
        return QStringLiteral("+");
    case FieldType::Bcd:
        return QStringLiteral("#");
    case FieldType::Bytes:
        return QStringLiteral("Y");
    }
    return QString::number(int(type));
}

QByteArray writeRecord(const TableHeader& header, const QList<Field>& fields, const Row& row,
                       const CodePage& codePage, MemoWriter* memo, const PreviousRecord* previous)
{
    QByteArray record(header.recordSize, '\0');
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const FieldLayout& layout = header.fields[i];
        char* out = record.data() + layout.offset;
        if (previous && layout.type == FieldType::AutoIncrement) {
            const qint64 limit = integerLimit(layout.size);
            const auto number = integerValue(row[i], fields[i].name, -limit, limit);
            if (number && QVariant(int(*number)) != previous->values[i])
                fieldError(fields[i].name, QStringLiteral("自動採番の値は変えられません。"));
        }
        const bool keep =
            previous && (previous->values[i] == row[i] || layout.type == FieldType::AutoIncrement);
        if (keep)
            std::memcpy(out, previous->bytes.constData() + layout.offset, size_t(layout.size));
        else
            writeValue(layout, fields[i].name, row[i], codePage, memo, out);
    }
    return record;
}

} // namespace paradox::codec
