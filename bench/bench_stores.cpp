#include "bench/bench_stores.h"

#include "db/table_management.h"

#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace bench {

StoreTable::StoreTable(const Store& store, const QString& table) : table_(table)
{
    const auto env = [](const char* name) { return qEnvironmentVariable(name); };
    connections_.DatabaseKind = store.kind;
    connections_.ServerName = env("SKELVO_TEST_MYSQL_HOST") + ':' + env("SKELVO_TEST_MYSQL_PORT");
    connections_.UserName = env("SKELVO_TEST_MYSQL_USER");
    connections_.Password = env("SKELVO_TEST_MYSQL_PASSWORD");
    switch (store.kind) {
    case MySqlStore:
        connections_.DatabaseName = env("SKELVO_TEST_MYSQL_DATABASE");
        break;
    case OdbcStore:
        connections_.DatabaseName = env("SKELVO_TEST_ODBC_DSN");
        break;
    default:
        folder_ = std::make_unique<QTemporaryDir>();
        connections_.DatabaseName = folder_->path();
        break;
    }
    connections_.TableName = table;
    connections_.SelectOrder = QStringLiteral(" ORDER BY ct,sb");
    connections_.ConnectDatabase();
    if (!connections_.IsConnected)
        throw std::runtime_error(("cannot connect: " + connections_.LastError).toStdString());
    QSqlQuery query(database());
    query.exec("DROP TABLE " + table);
    const QString file = store.kind == ParadoxStore ? "CreateTable.PRDX" : "CreateTable.MYSQL";
    const QString create = TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/" + file), table);
    if (!query.exec(create))
        throw std::runtime_error(query.lastError().text().toStdString());
}

StoreTable::~StoreTable()
{
    connections_.CloseLogTable();
    QSqlQuery(database()).exec("DROP TABLE " + table_);
    connections_.DisconnectDatabase();
}

} // namespace bench
