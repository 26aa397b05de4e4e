#pragma once

#include "data/statement_values.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// What the store behind an open connection needs done its own way when rows
// are written: the folder store keeps text in its code page, and through
// ODBC values travel as literals (Qt's ODBC driver sends a bound text one
// character too long, its terminating U+0000, which the server stores),
// made by the rules of the server behind it. A MySQL server needs nothing.
StoreDialect dialectOf(const QSqlDatabase& db);
// How much text each column of a table holds, where the store says.
TextLimits textLimitsOf(QSqlDatabase db, const QString& table);

// What reads every column of a table: the select list and the text columns
// it reads as their UTF-8 bytes (see DataSet::setCommandText).
struct ColumnsRead
{
    QString list;
    QStringList textAsBytes;
};
// "*" on every store but a MySQL-family server behind ODBC, which is asked
// for the table's columns (the connection is opened for it when closed).
ColumnsRead columnsToRead(QSqlDatabase db, const QString& table);
