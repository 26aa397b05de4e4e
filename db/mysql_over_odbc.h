#pragma once

#include "db/store_dialects.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// A MySQL-family server reached through ODBC. Its connector (MariaDB
// Connector/ODBC 3.1) measures wide text as though every UTF-16 unit whose
// low byte is D8 to DB began a surrogate pair: a text holding 飛, 高, 様 …
// is read one unit short for each, and a statement holding one is read past
// its end (refused at random, or the heap is damaged). Its UTF-8 path is
// sound, so texts reach such a server as the hex of their UTF-8 bytes and
// come back as those bytes, and the statements themselves stay ASCII.
namespace MySqlOverOdbc {

// Whether the connection is ODBC to a MySQL or MariaDB server, as the
// connection's driver names the server.
bool isMySqlOverOdbc(const QSqlDatabase& db);

// A value as such a server takes it inside a statement.
QString literal(const QVariant& value);

// What reads every column of a table, its text columns as their UTF-8
// bytes; "*" when the server does not know the table, so that the query
// itself reports it.
ColumnsRead columnsOf(QSqlDatabase db, const QString& table);

// How many characters each text column of a table holds. The statement is
// the server's own SQL, so it serves a direct connection as well.
TextLimits textLimits(QSqlDatabase db, const QString& table);

// The base tables of the connected database (no system views), by name.
// Raises SkelvoError with the server's reason.
QStringList tableNames(QSqlDatabase db);

// The number the server gave the row last appended on the connection.
QVariant lastInsertId(const QSqlDatabase& db);

} // namespace MySqlOverOdbc
