#include "paradox/paradox_fields.h"

#include <QDate>
#include <QDateTime>
#include <QSqlField>
#include <QTime>

namespace paradox {

QMetaType metaTypeOf(FieldType type)
{
    switch (type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoIncrement:
        return QMetaType::fromType<int>();
    case FieldType::Number:
    case FieldType::Currency:
        return QMetaType::fromType<double>();
    case FieldType::Logical:
        return QMetaType::fromType<bool>();
    case FieldType::Date:
        return QMetaType::fromType<QDate>();
    case FieldType::Time:
        return QMetaType::fromType<QTime>();
    case FieldType::Timestamp:
        return QMetaType::fromType<QDateTime>();
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes:
        return QMetaType::fromType<QByteArray>();
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FormattedMemo:
    case FieldType::Bcd:
        break;
    }
    return QMetaType::fromType<QString>();
}

QSqlRecord sqlRecordOf(const QList<Field>& fields)
{
    QSqlRecord record;
    for (const Field& field : fields) {
        QSqlField sqlField(field.name, metaTypeOf(field.type));
        if (field.type == FieldType::Alpha)
            sqlField.setLength(field.size);
        sqlField.setAutoValue(field.type == FieldType::AutoIncrement);
        record.append(sqlField);
    }
    return record;
}

} // namespace paradox
