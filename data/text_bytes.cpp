#include "data/text_bytes.h"

#include <QByteArray>
#include <QString>

QVariant textFromUtf8Bytes(const QVariant& bytes)
{
    if (bytes.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return QString::fromUtf8(bytes.toByteArray());
}

TextReadAsBytes::TextReadAsBytes(const QSqlRecord& record, const QStringList& textAsBytes)
{
    for (int i = 0; i < record.count(); ++i)
        asBytes_.append(textAsBytes.contains(record.fieldName(i), Qt::CaseInsensitive));
}
