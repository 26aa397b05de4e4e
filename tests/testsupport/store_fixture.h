#pragma once

#include "db/store_connections.h"
#include "tests/testsupport/store_servers.h"
#include "tests/testsupport/temp_folder.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>

class DataSet;

namespace testsupport {

// The three kinds of store the program writes to: the MariaDB server
// directly, the same server through ODBC, and a folder of Paradox tables.
enum class Store
{
    MariaDb,
    Odbc,
    Paradox,
};

const char* storeName(Store store);
void PrintTo(Store store, std::ostream* out);

// A row as tests put it in and read it back.
struct Entry
{
    int ct;
    int sb;
    QString crew;
    bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& entry, std::ostream* out);

// A command file of the program's own, as shipped.
QString commandFile(const char* name);

// Another program's view of the same store, for putting rows in and
// checking what reached the table: the folder, or the server reached
// directly (for the ODBC store too).
class OtherClient
{
public:
    OtherClient(Store store, const QString& folder);
    ~OtherClient();
    OtherClient(const OtherClient&) = delete;
    OtherClient& operator=(const OtherClient&) = delete;

    QSqlDatabase database() const { return db_; }

private:
    QSqlDatabase db_;
};

// A fresh log table on the store of the test's parameter, with the store's
// connection open the way the program opens it.
class StoreTest : public ::testing::TestWithParam<Store>
{
protected:
    void SetUp() override;

    bool paradox() const { return GetParam() == Store::Paradox; }
    void connect(StoreConnections& store);

    DataSet& rows() { return *store_.CurrentDataSet(); }
    bool cached();
    void open() { ASSERT_TRUE(store_.OpenLogTable()); }
    // Sends the changes the row-set holds, where it holds any.
    void send();

    // Rows put in by another client, as another program would.
    void seed(std::initializer_list<Entry> entries);
    void exec(const QString& sql);
    // What the table holds, read by another client in key order.
    QList<Entry> stored();
    QString storedText(const QString& column, const QString& where);
    // The crew of every row of the row-set, in its order.
    QList<QString> crewsInOrder();

    TempFolder folder_;
    OtherClient other_{GetParam(), folder_.path()};
    std::unique_ptr<ScratchTable> scratch_;
    QString table_;
    StoreConnections store_;
};

// For INSTANTIATE_TEST_SUITE_P(Stores, Suite, allStores(), storeTestName).
inline auto allStores()
{
    return ::testing::Values(Store::MariaDb, Store::Odbc, Store::Paradox);
}
std::string storeTestName(const ::testing::TestParamInfo<Store>& info);

} // namespace testsupport
