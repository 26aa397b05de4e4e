#include "db/mysql_over_odbc.h"

#include "core/error.h"
#include "data/statement_values.h"
#include "data/text_bytes.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <sql.h>
#include <sqlext.h>

namespace MySqlOverOdbc {
namespace {

// The server's text as a statement reads it: its UTF-8 bytes.
QString asUtf8Bytes(const QString& expression)
{
    return QStringLiteral("CAST(CONVERT(%1 USING utf8mb4) AS BINARY)").arg(expression);
}

QString quotedName(QString name)
{
    return u'`' + name.replace(u'`', QStringLiteral("``")) + u'`';
}

bool isTextType(const QString& dataType)
{
    static const QStringList TextTypes{
        QStringLiteral("char"), QStringLiteral("varchar"),    QStringLiteral("tinytext"),
        QStringLiteral("text"), QStringLiteral("mediumtext"), QStringLiteral("longtext"),
        QStringLiteral("enum"), QStringLiteral("set"),        QStringLiteral("json")};
    return TextTypes.contains(dataType, Qt::CaseInsensitive);
}

QSqlQuery run(QSqlDatabase db, const QString& sql)
{
    if (!db.isOpen())
        db.open();
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw SkelvoError(errorText(query.lastError()));
    return query;
}

} // namespace

bool isMySqlOverOdbc(const QSqlDatabase& db)
{
    if (db.driverName() != QLatin1String("QODBC") || !db.isOpen())
        return false;
    const QVariant handle = db.driver()->handle();
    if (handle.metaType() != QMetaType::fromType<SQLHANDLE>())
        return false;
    SQLHANDLE connection = *static_cast<const SQLHANDLE*>(handle.constData());
    SQLCHAR name[128] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(connection, SQL_DBMS_NAME, name, sizeof name, &length)))
        return false;
    const QString server = QString::fromLatin1(reinterpret_cast<const char*>(name));
    return server.contains(QLatin1String("MySQL"), Qt::CaseInsensitive) ||
           server.contains(QLatin1String("MariaDB"), Qt::CaseInsensitive);
}

QString literal(const QVariant& value)
{
    if (const std::optional<QString> common = commonLiteral(value))
        return *common;
    const QByteArray bytes = value.toString().toUtf8();
    if (bytes.isEmpty())
        return QStringLiteral("''");
    return QStringLiteral("_utf8mb4 X'") + QString::fromLatin1(bytes.toHex()) + u'\'';
}

ColumnsRead columnsOf(QSqlDatabase db, const QString& table)
{
    // The server may match the name without regard to case; a table whose
    // name differs from another only in case must not lend it its columns.
    QSqlQuery query =
        run(db, QStringLiteral("SELECT %1, %2, data_type FROM information_schema.columns"
                               " WHERE table_schema = DATABASE() AND table_name = %3"
                               " ORDER BY ordinal_position")
                    .arg(asUtf8Bytes(QStringLiteral("table_name")),
                         asUtf8Bytes(QStringLiteral("column_name")), literal(table)));
    struct Column
    {
        QString table, name;
        bool text;
    };
    QList<Column> columns;
    bool exact = false;
    while (query.next()) {
        columns.append({textFromUtf8Bytes(query.value(0)).toString(),
                        textFromUtf8Bytes(query.value(1)).toString(),
                        isTextType(query.value(2).toString())});
        exact = exact || columns.last().table == table;
    }
    QStringList list;
    ColumnsRead read;
    for (const Column& column : std::as_const(columns)) {
        if (exact && column.table != table)
            continue;
        const QString name = quotedName(column.name);
        list.append(column.text ? asUtf8Bytes(name) + QStringLiteral(" AS ") + name : name);
        if (column.text)
            read.textAsBytes.append(column.name);
    }
    read.list = list.isEmpty() ? QStringLiteral("*") : list.join(QStringLiteral(", "));
    return read;
}

QStringList tableNames(QSqlDatabase db)
{
    QSqlQuery query =
        run(db, QStringLiteral("SELECT %1 AS name FROM information_schema.tables"
                               " WHERE table_schema = DATABASE() AND table_type = 'BASE TABLE'"
                               " ORDER BY table_name")
                    .arg(asUtf8Bytes(QStringLiteral("table_name"))));
    QStringList names;
    while (query.next())
        names.append(textFromUtf8Bytes(query.value(0)).toString());
    return names;
}

QVariant lastInsertId(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT LAST_INSERT_ID()")) || !query.next())
        return {};
    return query.value(0);
}

} // namespace MySqlOverOdbc
