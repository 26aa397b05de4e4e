#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// Writes a Paradox table with pxlib, a writer other than the program's own
// codec, the way other software makes the files the program reads.
namespace pxwrite {

enum class Type
{
    Alpha,   // text, length in bytes
    Short,   // 16-bit integer
    Long,    // 32-bit integer
    Logical, // true or false
};

struct Field
{
    QByteArray name;
    Type type;
    int length = 0; // Alpha only
};

// Values: a null QVariant writes an empty field; Alpha takes text (kept in
// CP932), Short and Long integers, Logical booleans. Raises
// std::runtime_error on what pxlib reports.
void writeTable(const QString& path, const QList<Field>& fields, const QList<QVariantList>& rows);

} // namespace pxwrite
