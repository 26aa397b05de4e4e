#pragma once

#include <QSqlDatabase>
#include <QString>
#include <ostream>

namespace testsupport {

// The private MariaDB server that ctest starts for the store tests
// (tests/fixtures), reached either directly through QMYSQL or through the
// MariaDB ODBC driver and the data source the fixture writes. Tests learn
// where it is from the SKELVO_TEST_* variables that ctest sets.
enum class StoreServer
{
    MariaDb,
    Odbc,
};

// "MariaDb" or "Odbc": for parameterised test names and failure messages.
const char* storeServerName(StoreServer server);
void PrintTo(StoreServer server, std::ostream* out);

// Open a connection under connectionName, replacing an earlier one of that
// name. Both count the rows an UPDATE matched rather than those it changed, as
// the program's connections do. On failure the test fails with the reason and
// the result is not open, so callers follow with ASSERT_TRUE(db.isOpen()).
QSqlDatabase openMariaDb(const QString& connectionName);
QSqlDatabase openOdbc(const QString& connectionName);
QSqlDatabase openStoreServer(StoreServer server, const QString& connectionName);

// A connection that lives as long as the object: closed and removed from Qt's
// list when it goes. Declare it before anything that uses the connection.
class ServerConnection
{
public:
    ServerConnection(StoreServer server, const QString& connectionName);
    ~ServerConnection();
    ServerConnection(const ServerConnection&) = delete;
    ServerConnection& operator=(const ServerConnection&) = delete;

    QSqlDatabase database() const { return db_; }
    bool isOpen() const { return db_.isOpen(); }

private:
    QString name_;
    QSqlDatabase db_;
};

// A table name that no other test, concurrent or earlier, uses; the table is
// dropped when the object goes, whether the test made it or the code under
// test did. Lower case, so it means the same on every server.
class ScratchTable
{
public:
    explicit ScratchTable(QSqlDatabase db);
    ~ScratchTable();
    ScratchTable(const ScratchTable&) = delete;
    ScratchTable& operator=(const ScratchTable&) = delete;

    const QString& name() const { return name_; }

    // Runs statement with every "%%" replaced by the table's name; on error the
    // test fails with the server's message and false comes back.
    bool create(const QString& statement);

private:
    void drop();

    QSqlDatabase db_;
    QString name_;
};

} // namespace testsupport
