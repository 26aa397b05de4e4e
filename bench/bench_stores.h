#pragma once

#include "db/store_connections.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class DataSet;

// The three stores a benchmark measures: the private MariaDB server that
// scripts/bench.sh starts (its settings in the tests' environment
// variables), the same server through ODBC, and a folder store in a
// temporary folder.
namespace bench {

struct Store
{
    const char* name;
    int kind;
};
inline constexpr Store Stores[] = {
    {"MariaDB", MySqlStore}, {"ODBC", OdbcStore}, {"folder", ParadoxStore}};

// The stores to measure: all of them, or those SKELVO_BENCH_STORES names
// (comma-separated, e.g. "folder"), so that one store can be profiled alone.
QList<Store> chosenStores();

// Connects the program's way to the store with a fresh, empty log table
// named table; raises std::runtime_error when it cannot.
class StoreTable
{
public:
    StoreTable(const Store& store, const QString& table);
    ~StoreTable();
    StoreTable(const StoreTable&) = delete;
    StoreTable& operator=(const StoreTable&) = delete;

    const Store& store() const { return store_; }
    const QString& tableName() const { return table_; }
    StoreConnections& connections() { return connections_; }
    QString connectionName() const
    {
        return connections_.connectionNameOf(connections_.DatabaseKind);
    }
    QSqlDatabase database() const { return QSqlDatabase::database(connectionName()); }
    // Loads the table's rows into the store's row-set the program's way;
    // raises the store's reason when it cannot.
    DataSet& openLog();
    // The folder store's file of the table.
    QString tableFilePath() const;

private:
    Store store_;
    std::unique_ptr<QTemporaryDir> folder_;
    StoreConnections connections_;
    QString table_;
};

// Runs work at each row count on the command line (10,000 when none is
// given) with the folder store's driver registered. An error ends the run:
// it goes to stderr and the exit status is 1 (2 for a count that is no
// number of rows).
int runAtEachSize(int argc, char** argv, const std::function<void(int rows)>& work);

// Runs the statement; raises std::runtime_error naming it when it fails.
void exec(QSqlQuery& query, const QString& sql);

} // namespace bench
