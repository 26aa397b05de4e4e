#include "db/mysql_over_odbc.h"

#include "core/error.h"
#include "data/statement_values.h"
#include "data/text_bytes.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <limits>
#include <sql.h>
#include <sqlext.h>

namespace MySqlOverOdbc {
namespace {

// The server's text as a statement reads it: its UTF-8 bytes.
QString asUtf8Bytes(const QString& expression)
{
    return QStringLiteral("CAST(CONVERT(%1 USING utf8mb4) AS BINARY)").arg(expression);
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

namespace {

struct Column
{
    QString name;
    QString dataType;
    int maxCharacters; // 0 for a column that is not text
};

// The table's columns in their order. The server may match the name without
// regard to case; a table whose name differs from another only in case must
// not lend it its columns.
QList<Column> columnsOfTable(QSqlDatabase db, const QString& table)
{
    QSqlQuery query = run(db, QStringLiteral("SELECT %1, %2, data_type, character_maximum_length"
                                             " FROM information_schema.columns"
                                             " WHERE table_schema = DATABASE() AND table_name = %3"
                                             " ORDER BY ordinal_position")
                                  .arg(asUtf8Bytes(QStringLiteral("table_name")),
                                       asUtf8Bytes(QStringLiteral("column_name")), literal(table)));
    QList<std::pair<QString, Column>> found;
    bool exact = false;
    while (query.next()) {
        const QString tableName = textFromUtf8Bytes(query.value(0)).toString();
        const QString dataType = query.value(2).toString();
        found.append({tableName,
                      {textFromUtf8Bytes(query.value(1)).toString(), dataType,
                       isTextType(dataType) ? int(qMin<qlonglong>(query.value(3).toLongLong(),
                                                                  std::numeric_limits<int>::max()))
                                            : 0}});
        exact = exact || tableName == table;
    }
    QList<Column> columns;
    for (const auto& [tableName, column] : std::as_const(found)) {
        if (!exact || tableName == table)
            columns.append(column);
    }
    return columns;
}

} // namespace

ColumnsRead columnsOf(QSqlDatabase db, const QString& table)
{
    QStringList list;
    ColumnsRead read;
    for (const Column& column : columnsOfTable(db, table)) {
        const QString name = quotedName(column.name, u'`');
        const bool text = isTextType(column.dataType);
        list.append(text ? asUtf8Bytes(name) + QStringLiteral(" AS ") + name : name);
        if (text)
            read.textAsBytes.append(column.name);
    }
    read.list = list.isEmpty() ? QStringLiteral("*") : list.join(QStringLiteral(", "));
    return read;
}

TextLimits textLimits(QSqlDatabase db, const QString& table)
{
    TextLimits limits;
    for (const Column& column : columnsOfTable(db, table)) {
        if (column.maxCharacters > 0)
            limits.insert(column.name.toLower(), {column.maxCharacters, false});
    }
    return limits;
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
