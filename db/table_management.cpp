#include "db/table_management.h"

#include "core/error.h"
#include "core/text_encoding.h"
#include "data/data_set.h"
#include "db/mysql_over_odbc.h"
#include "db/store_connections.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <algorithm>

namespace TableManagement {
namespace {

QSqlDatabase connectionOf(const StoreConnections& store)
{
    return QSqlDatabase::database(store.connectionNameOf(store.DatabaseKind), false);
}

QStringList catalogTableNames(const StoreConnections& store)
{
    return connectionOf(store).tables(QSql::Tables);
}

// SQL Server keeps its user tables in sysobjects; a MySQL-family server
// is asked for the tables of the connected database (its driver's catalog
// also offers system views that cannot be opened); any other ODBC source
// through the driver's own catalog.
QStringList odbcTableNames(StoreConnections& store)
{
    if (MySqlOverOdbc::isMySqlOverOdbc(connectionOf(store)))
        return MySqlOverOdbc::tableNames(connectionOf(store));
    DataSet* query = store.CurrentDataSet();
    try {
        query->setCommandText(QStringLiteral("SELECT name FROM sysobjects WHERE xtype = 'U'"));
        query->open();
    } catch (const SkelvoError&) {
        if (!connectionOf(store).isOpen())
            throw;
        return catalogTableNames(store);
    }
    QStringList names;
    for (int row = 0; row < query->recordCount(); ++row)
        names.append(query->valueAt(row, 0).toString());
    query->close();
    return names;
}

} // namespace

void ListTableNames(StoreConnections& store, QStringList& names)
{
    store.ConnectDatabase();
    if (!store.IsConnected)
        return;
    try {
        names = store.DatabaseKind == OdbcStore ? odbcTableNames(store) : catalogTableNames(store);
    } catch (...) {
        store.DisconnectDatabase();
        throw;
    }
    store.DisconnectDatabase();
}

void EmptyLogTable(StoreConnections& store)
{
    if (!store.IsConnected)
        return;
    store.CloseLogTable();
    const QString verb = store.DatabaseKind == ParadoxStore ? QStringLiteral("DELETE FROM ")
                                                            : QStringLiteral("TRUNCATE TABLE ");
    RunStatement(store, verb + store.sqlTableName(store.TableName));
}

int NextCtAfterLastRow(StoreConnections& store)
{
    store.ConnectDatabase();
    store.SelectOrder = QStringLiteral(" ORDER BY ct,sb");
    DataSet& rows = store.requireDataSet();
    if (!store.OpenLogTable())
        rows.open(); // raises the store's reason
    rows.last();
    const int next = rows.isEmpty() ? 1 : rows.asInteger(u"ct") + 1;
    store.CloseLogTable();
    return next;
}

void RunStatement(StoreConnections& store, const QString& statement)
{
    store.requireDataSet().execute(statement);
}

QString tableCommandFileName(int kind)
{
    switch (kind) {
    case MySqlStore:
        return QStringLiteral("CreateTable.MYSQL");
    case OdbcStore:
        return QStringLiteral("CreateTable.MSSQL");
    case ParadoxStore:
        return QStringLiteral("CreateTable.PRDX");
    default:
        return {};
    }
}

QString indexCommandFileName(int kind)
{
    return kind == ParadoxStore ? QStringLiteral("CreateIndex.PRDX") : QString();
}

QString readCommandFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SkelvoError(QStringLiteral("%1 を読めません: %2").arg(path, file.errorString()));
    return TextEncoding::decodeExternalText(file.readAll());
}

QString prepareCommand(const QString& fileText, const QString& tableName)
{
    QString text = fileText;
    text.replace('\t', ' ');
    text.replace(QStringLiteral("%%"), tableName);
    static const QRegularExpression LineEnd(QStringLiteral("\r\n|\n|\r"));
    QString statement;
    for (const QString& line : text.split(LineEnd)) {
        if (line.isEmpty() || line.startsWith(QStringLiteral("--")))
            continue;
        statement += line + QStringLiteral("\r\n");
    }
    return statement;
}

QString newTableNameProblem(const QString& tableName)
{
    const auto allowed = [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
               c == u'_';
    };
    if (std::all_of(tableName.begin(), tableName.end(), allowed) &&
        tableName.size() <= MaxNewTableNameLength)
        return {};
    return QStringLiteral("「%1」はテーブル名に使えません。テーブル名に使えるのは半角の英字 (A～Z、"
                          "a～z)、数字 (0～9) と _ (アンダースコア) で、%2 文字までです。空白や"
                          "ほかの記号、全角の文字は使えません。")
        .arg(tableName, QString::number(MaxNewTableNameLength));
}

void CreateLogTable(StoreConnections& store, const QString& tableName, const QString& folder)
{
    if (const QString problem = newTableNameProblem(tableName); !problem.isEmpty())
        throw SkelvoError(problem);
    const QDir dir(folder);
    RunStatement(store, prepareCommand(
                            readCommandFile(dir.filePath(tableCommandFileName(store.DatabaseKind))),
                            tableName));
    const QString indexFile = indexCommandFileName(store.DatabaseKind);
    if (!indexFile.isEmpty())
        RunStatement(store, prepareCommand(readCommandFile(dir.filePath(indexFile)), tableName));
}

void DropLogTable(StoreConnections& store, const QString& tableName)
{
    store.CloseLogTable();
    store.ConnectDatabase();
    RunStatement(store, QStringLiteral("DROP TABLE ") + store.sqlTableName(tableName));
    store.DisconnectDatabase();
}

} // namespace TableManagement
