#include "paradox/field_reading.h"

#include "core/error.h"
#include "paradox/code_page.h"
#include "paradox/memo_file.h"
#include "paradox/number_encoding.h"
#include "paradox/table_error.h"

#include <QDateTime>
#include <cmath>
#include <cstring>

namespace paradox::codec {
namespace {

constexpr int BcdDigits = 32;

bool allZero(const char* bytes, int size)
{
    for (int i = 0; i < size; ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

// The exact decimal text of a 17-byte BCD value: a sign and digit-count byte,
// then 32 digits in nibbles, all flipped when the value is negative. Some
// writers fill only the leading digits of a long fraction and leave other
// nibbles behind them; the fraction ends at the first nibble that is no digit.
QString bcdText(const char* bytes)
{
    const quint8 first = quint8(bytes[0]);
    const bool negative = (first & 0x80) == 0;
    const int decimals = first & 0x3F;
    if (decimals > BcdDigits)
        throw SkelvoError(
            QStringLiteral("BCD の小数部の桁数 %1 が正しくありません。").arg(decimals));
    const int wholeDigits = BcdDigits - decimals;
    QString digits;
    for (int nibble = 2; nibble < BcdDigits + 2; ++nibble) {
        const quint8 byte = quint8(bytes[nibble / 2]);
        const int digit = ((nibble % 2 ? byte : byte >> 4) & 0x0F) ^ (negative ? 0x0F : 0);
        if (digit > 9) {
            if (digits.size() < wholeDigits)
                throw SkelvoError(QStringLiteral("BCD の数字が正しくありません。"));
            break;
        }
        digits += QChar(u'0' + digit);
    }
    QString whole = digits.left(wholeDigits);
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    QString text = (whole.isEmpty() ? QStringLiteral("0") : whole);
    const QString fraction = digits.mid(wholeDigits);
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    const bool zero = digits.count(u'0') == digits.size();
    return negative && !zero ? u'-' + text : text;
}

QByteArray blobBytes(const FieldLayout& field, const char* bytes, MemoFile* memo)
{
    const int leader = field.size - BlobTailSize;
    const char* tail = bytes + leader;
    const quint32 location = qFromLittleEndian<quint32>(tail);
    const quint32 length = qFromLittleEndian<quint32>(tail + 4);
    if (length <= quint32(leader)) // the leader holds all of it
        return QByteArray(bytes, length);
    if (!memo)
        throw SkelvoError(QStringLiteral("値がメモファイル (.MB) にありますが、メモファイルが"
                                         "ありません。"));
    return memo->read(location, length, field.type);
}

QTime timeOfDay(qint64 milliseconds)
{
    if (milliseconds < 0 || milliseconds >= MillisecondsPerDay)
        throw SkelvoError(
            QStringLiteral("時刻 (%1 ミリ秒) が一日の範囲を超えています。").arg(milliseconds));
    return QTime::fromMSecsSinceStartOfDay(int(milliseconds));
}

QDate dayNumber(qint64 days)
{
    return QDate::fromJulianDay(days + JulianDayOfDayZero);
}

QVariant timestamp(double milliseconds)
{
    if (!std::isfinite(milliseconds))
        throw SkelvoError(QStringLiteral("日時の値が数ではありません。"));
    if (std::fabs(milliseconds) >= double(MaxDays) * MillisecondsPerDay)
        throw SkelvoError(QStringLiteral("日時の値 %1 が範囲の外です。").arg(milliseconds));
    const qint64 whole = std::llround(milliseconds);
    const qint64 days = whole / MillisecondsPerDay - (whole % MillisecondsPerDay < 0 ? 1 : 0);
    const qint64 rest = whole - days * MillisecondsPerDay;
    return QDateTime(dayNumber(days), timeOfDay(rest));
}

QVariant readValue(const FieldLayout& field, const char* bytes, const CodePage& codePage,
                   MemoFile* memo)
{
    if (allZero(bytes, field.size))
        return {};
    switch (field.type) {
    case FieldType::Alpha:
        return codePage.decode(QByteArray(bytes, qsizetype(strnlen(bytes, size_t(field.size)))));
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement:
        return int(readFlippedInteger(bytes, field.size));
    case FieldType::Logical:
        return readFlippedInteger(bytes, 1) != 0;
    case FieldType::Number:
    case FieldType::Currency:
        return readFlippedDouble(bytes);
    case FieldType::Date:
        return dayNumber(readFlippedInteger(bytes, 4));
    case FieldType::Time:
        return timeOfDay(readFlippedInteger(bytes, 4));
    case FieldType::Timestamp:
        return timestamp(readFlippedDouble(bytes));
    case FieldType::Bcd:
        return bcdText(bytes);
    case FieldType::Bytes:
        return QByteArray(bytes, field.size);
    case FieldType::Memo:
    case FieldType::FormattedMemo: {
        const QByteArray text = blobBytes(field, bytes, memo);
        return text.isEmpty() ? QVariant() : QVariant(codePage.decode(text));
    }
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic: {
        const QByteArray data = blobBytes(field, bytes, memo);
        return data.isEmpty() ? QVariant() : QVariant(data);
    }
    }
    return {};
}

} // namespace

Row readRecord(const TableHeader& header, const QList<Field>& fields, const char* record,
               const CodePage& codePage, MemoFile* memo, const QString& fileName)
{
    Row row;
    row.reserve(header.fields.size());
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        const FieldLayout& field = header.fields[i];
        try {
            row.append(readValue(field, record + field.offset, codePage, memo));
        } catch (const SkelvoError& error) {
            raiseTableError(
                fileName,
                QStringLiteral("フィールド「%1」: %2").arg(fields[i].name, error.message()));
        }
    }
    return row;
}

} // namespace paradox::codec
