#include "tests/paradox/pxlib_reader.h"

#include "core/text_encoding.h"
#include "paradox/table_header.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <cstring>

extern "C" { // pxlib's header does not say so itself
#include <paradox.h>
}

using paradox::FieldType;

namespace {

void collectError(pxdoc_t*, int, const char* message, void* errors)
{
    static_cast<QStringList*>(errors)->append(QString::fromUtf8(message));
}

bool allZero(const char* data, int length)
{
    for (int i = 0; i < length; ++i)
        if (data[i] != 0)
            return false;
    return true;
}

// pxlib's own calendar, through its text form of a date ("Y-m-d").
QDate pxlibDate(pxdoc_t* doc, long days)
{
    char* text = PX_date2string(doc, days, "Y-m-d");
    const QStringList parts = QString::fromLatin1(text).split(u'-');
    doc->free(doc, text);
    return QDate(parts[0].toInt(), parts[1].toInt(), parts[2].toInt());
}

QDateTime pxlibTimestamp(pxdoc_t* doc, double milliseconds)
{
    char* text = PX_timestamp2string(doc, milliseconds, "Y-m-d H:i:s");
    const QString moment = QString::fromLatin1(text);
    doc->free(doc, text);
    const QStringList date = moment.section(u' ', 0, 0).split(u'-');
    const QTime time = QTime::fromString(moment.section(u' ', 1, 1), QStringLiteral("HH:mm:ss"));
    const int rest = int(qint64(milliseconds) % 1000);
    return QDateTime(QDate(date[0].toInt(), date[1].toInt(), date[2].toInt()), time.addMSecs(rest));
}

// pxlib writes BCD with all decimals, a trailing point when there are none,
// and a nibble that is no digit as the character after '9'; the number is
// taken to end there.
QString pxlibBcd(pxdoc_t* doc, char* data, int decimals)
{
    char* text = nullptr;
    if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), decimals, &text) <= 0)
        return QString();
    QString value = QString::fromLatin1(text);
    doc->free(doc, text);
    const qsizetype notDigit = value.indexOf(QRegularExpression(QStringLiteral("[^-.0-9]")));
    if (notDigit >= 0)
        value.truncate(notDigit);
    if (value.endsWith(u'.'))
        value.chop(1);
    if (value.startsWith(u'-') && !value.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        value.remove(0, 1);
    return value;
}

QVariant pxlibValue(pxdoc_t* doc, const pxfield_t& field, char* data, const char* codeSet)
{
    const int length = field.px_flen;
    // Null is told from the bytes: pxlib's own test for long integers reads
    // past their four bytes on 64-bit systems and takes empty values for numbers.
    if (allZero(data, length) || paradox::codec::isBlobType(FieldType(field.px_ftype)))
        return {};
    switch (FieldType(field.px_ftype)) {
    case FieldType::Alpha: {
        char* text = nullptr;
        PX_get_data_alpha(doc, data, length, &text); // no target encoding: the raw bytes
        const QString value = TextEncoding::decode(QByteArray(text), codeSet);
        doc->free(doc, text);
        return value;
    }
    case FieldType::Short: {
        short value = 0;
        PX_get_data_short(doc, data, length, &value);
        return int(value);
    }
    case FieldType::Long:
    case FieldType::AutoIncrement:
    case FieldType::Date:
    case FieldType::Time: {
        long value = 0;
        PX_get_data_long(doc, data, length, &value);
        if (field.px_ftype == pxfDate)
            return pxlibDate(doc, value);
        if (field.px_ftype == pxfTime)
            return QTime::fromMSecsSinceStartOfDay(int(value));
        return int(value);
    }
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Timestamp: {
        double value = 0;
        PX_get_data_double(doc, data, length, &value);
        if (field.px_ftype == pxfTimestamp)
            return pxlibTimestamp(doc, value);
        return value;
    }
    case FieldType::Logical: {
        char value = 0;
        PX_get_data_byte(doc, data, length, &value);
        return value != 0;
    }
    case FieldType::Bcd:
        return pxlibBcd(doc, data, field.px_fdc);
    case FieldType::Bytes:
        return QByteArray(data, length);
    default:
        return {};
    }
}

} // namespace

PxlibTable readWithPxlib(const QString& path)
{
    PxlibTable table;
    pxdoc_t* doc = PX_new2(collectError, nullptr, nullptr, nullptr);
    doc->errorhandler_user_data = &table.errors;
    if (PX_open_file(doc, QFile::encodeName(path).constData()) < 0) {
        PX_delete(doc);
        table.errors.append(QStringLiteral("cannot open"));
        return table;
    }
    pxhead_t* head = doc->px_head;
    table.codePage = head->px_doscodepage;
    table.recordCount = PX_get_num_records(doc);
    const QByteArray codeSet = "CP" + QByteArray::number(table.codePage ? table.codePage : 437);
    const int fieldCount = PX_get_num_fields(doc);
    pxfield_t* fields = PX_get_fields(doc);
    for (int i = 0; i < fieldCount; ++i)
        table.fields.append({TextEncoding::decode(QByteArray(fields[i].px_fname), codeSet),
                             FieldType(fields[i].px_ftype), fields[i].px_flen});

    QByteArray record(PX_get_recordsize(doc), '\0');
    for (int n = 0; n < table.recordCount; ++n) {
        int deleted = 0;
        pxdatablockinfo_t where{};
        if (!PX_get_record2(doc, n, record.data(), &deleted, &where))
            break;
        paradox::Record read;
        read.position = where.recordpos;
        char* data = record.data();
        for (int i = 0; i < fieldCount; ++i) {
            read.values.append(pxlibValue(doc, fields[i], data, codeSet.constData()));
            data += fields[i].px_flen;
        }
        table.records.append(read);
    }
    PX_close(doc);
    PX_delete(doc);
    return table;
}
