#pragma once

#include "db/store_connections.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <memory>

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

// Connects the program's way to the store with a fresh, empty log table
// named table; raises std::runtime_error when it cannot.
class StoreTable
{
public:
    StoreTable(const Store& store, const QString& table);
    ~StoreTable();
    StoreTable(const StoreTable&) = delete;
    StoreTable& operator=(const StoreTable&) = delete;

    StoreConnections& connections() { return connections_; }
    QString connectionName() const
    {
        return connections_.connectionNameOf(connections_.DatabaseKind);
    }
    QSqlDatabase database() const { return QSqlDatabase::database(connectionName()); }

private:
    std::unique_ptr<QTemporaryDir> folder_;
    StoreConnections connections_;
    QString table_;
};

} // namespace bench
