#pragma once

#include <QList>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

// A text that a statement read as its UTF-8 bytes (where the store's driver
// cannot be trusted to read it as text), as the text again; a null stays a
// null text.
QVariant textFromUtf8Bytes(const QVariant& bytes);

// The values of a query whose statement reads the named text columns as
// their UTF-8 bytes, each as the text it holds.
class TextReadAsBytes
{
public:
    TextReadAsBytes(const QSqlRecord& record, const QStringList& textAsBytes);
    QVariant value(const QSqlQuery& query, int field) const
    {
        return asBytes_[field] ? textFromUtf8Bytes(query.value(field)) : query.value(field);
    }

private:
    QList<bool> asBytes_;
};
