#include "bench/bench_stores.h"

#include "data/data_set.h"
#include "db/table_management.h"
#include "paradox/paradox_driver.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <stdexcept>

namespace bench {

StoreTable::StoreTable(const Store& store, const QString& table) : store_(store), table_(table)
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

DataSet& StoreTable::openLog()
{
    DataSet& rows = connections_.requireDataSet();
    // The program's open keeps its reason to itself; the row-set's own
    // open raises it.
    if (!connections_.OpenLogTable())
        rows.open();
    return rows;
}

QString StoreTable::tableFilePath() const
{
    return QDir(connections_.DatabaseName).filePath(table_ + ".DB");
}

QList<Store> chosenStores()
{
    const QStringList wanted =
        qEnvironmentVariable("SKELVO_BENCH_STORES").split(u',', Qt::SkipEmptyParts);
    QList<Store> stores;
    for (const Store& store : Stores) {
        if (wanted.isEmpty() || wanted.contains(QLatin1StringView(store.name), Qt::CaseInsensitive))
            stores.append(store);
    }
    return stores;
}

int runAtEachSize(int argc, char** argv, const std::function<void(int rows)>& work)
{
    QCoreApplication app(argc, argv);
    ParadoxDriver::registerDriver();
    QList<int> sizes;
    for (int i = 1; i < argc; ++i) {
        bool number = false;
        sizes.append(QString::fromLocal8Bit(argv[i]).toInt(&number));
        // The opening row and at least one flight.
        if (!number || sizes.last() < 2) {
            std::fprintf(stderr, "usage: %s [rows (2 or more)]...\n", argv[0]);
            return 2;
        }
    }
    if (sizes.isEmpty())
        sizes.append(10000);
    try {
        for (int rows : sizes)
            work(rows);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}

void exec(QSqlQuery& query, const QString& sql)
{
    if (!query.exec(sql))
        throw std::runtime_error((sql + ": " + query.lastError().text()).toStdString());
}

} // namespace bench
