#include "tests/testsupport/store_fixture.h"

#include "data/data_set.h"
#include "db/table_management.h"
#include "paradox/paradox_driver.h"

#include <QSqlError>
#include <QSqlQuery>

namespace testsupport {
namespace {

constexpr const char* OtherClientName = "other client";

QString env(const char* name)
{
    return qEnvironmentVariable(name);
}

StoreServer serverOf(Store store)
{
    return store == Store::MariaDb ? StoreServer::MariaDb : StoreServer::Odbc;
}

} // namespace

const char* storeName(Store store)
{
    return store == Store::Paradox ? "Paradox" : storeServerName(serverOf(store));
}

void PrintTo(Store store, std::ostream* out)
{
    *out << storeName(store);
}

std::string storeTestName(const ::testing::TestParamInfo<Store>& info)
{
    return storeName(info.param);
}

void PrintTo(const Entry& entry, std::ostream* out)
{
    *out << '(' << entry.ct << ',' << entry.sb << ',' << entry.crew.toStdString() << ')';
}

QString commandFile(const char* name)
{
    return TableManagement::readCommandFile(QStringLiteral(SKELVO_SOURCE_DIR "/commands/") + name);
}

OtherClient::OtherClient(Store store, const QString& folder)
{
    if (store == Store::Paradox) {
        ParadoxDriver::registerDriver();
        db_ = QSqlDatabase::addDatabase(ParadoxDriver::Name, OtherClientName);
        db_.setDatabaseName(folder);
        db_.open();
    } else {
        // The server itself, also behind ODBC: a check must not share a
        // fault of the path it checks.
        db_ = openMariaDb(OtherClientName);
    }
}

OtherClient::~OtherClient()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(OtherClientName);
}

void StoreTest::SetUp()
{
    ASSERT_TRUE(other_.database().isOpen());
    connect(store_);
    if (paradox()) {
        table_ = QStringLiteral("ab12");
        store_.TableName = table_;
        TableManagement::RunStatement(
            store_, TableManagement::prepareCommand(commandFile("CreateTable.PRDX"), table_));
    } else {
        scratch_ = std::make_unique<ScratchTable>(other_.database());
        table_ = scratch_->name();
        store_.TableName = table_;
        ASSERT_TRUE(scratch_->create(
            TableManagement::prepareCommand(commandFile("CreateTable.MYSQL"), "%%")));
    }
}

void StoreTest::connect(StoreConnections& store)
{
    switch (GetParam()) {
    case Store::MariaDb:
        store.DatabaseKind = MySqlStore;
        store.ServerName = env("SKELVO_TEST_MYSQL_HOST") + ':' + env("SKELVO_TEST_MYSQL_PORT");
        store.DatabaseName = env("SKELVO_TEST_MYSQL_DATABASE");
        break;
    case Store::Odbc:
        store.DatabaseKind = OdbcStore;
        store.DatabaseName = env("SKELVO_TEST_ODBC_DSN");
        break;
    case Store::Paradox:
        store.DatabaseKind = ParadoxStore;
        store.DatabaseName = folder_.path();
        break;
    }
    store.UserName = env("SKELVO_TEST_MYSQL_USER");
    store.Password = env("SKELVO_TEST_MYSQL_PASSWORD");
    store.TableName = table_;
    store.SelectOrder = QStringLiteral(" ORDER BY ct,sb");
    store.ConnectDatabase();
    ASSERT_TRUE(store.IsConnected);
}

bool StoreTest::cached()
{
    return rows().writeBack() == DataSet::WriteBack::Cached;
}

void StoreTest::send()
{
    if (cached())
        rows().applyUpdates();
}

void StoreTest::seed(std::initializer_list<Entry> entries)
{
    for (const Entry& entry : entries)
        exec(QStringLiteral("INSERT INTO %1 (ct, sb, crew) VALUES (%2, %3, '%4')")
                 .arg(table_)
                 .arg(entry.ct)
                 .arg(entry.sb)
                 .arg(entry.crew));
}

void StoreTest::exec(const QString& sql)
{
    QSqlQuery query(other_.database());
    ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": "
                                 << query.lastError().text().toStdString();
}

QList<Entry> StoreTest::stored()
{
    QSqlQuery query(other_.database());
    query.exec(QStringLiteral("SELECT ct, sb, crew FROM %1 ORDER BY ct, sb, id").arg(table_));
    QList<Entry> result;
    while (query.next())
        result.append({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toString()});
    return result;
}

QString StoreTest::storedText(const QString& column, const QString& where)
{
    QSqlQuery query(other_.database());
    query.exec(QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(column, table_, where));
    return query.next() ? query.value(0).toString() : QStringLiteral("<no row>");
}

QList<QString> StoreTest::crewsInOrder()
{
    QList<QString> crews;
    for (rows().first(); !rows().eof(); rows().next())
        crews.append(rows().asString(u"crew"));
    return crews;
}

} // namespace testsupport
