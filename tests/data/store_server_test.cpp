// The private server behind the store tests behaves as the stores need it to:
// matched-row counts and utf8mb4 end to end; and the MySQL command file makes
// a log table of the expected shape.
#include "db/table_management.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_servers.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

using testsupport::ScratchTable;
using testsupport::ServerConnection;
using testsupport::StoreServer;

class StoreServerTest : public ::testing::TestWithParam<StoreServer>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(connection_.isOpen());
        ASSERT_TRUE(table_.create(
            "CREATE TABLE %% (id INT PRIMARY KEY, v VARCHAR(255)) DEFAULT CHARSET=utf8mb4"));
    }

    QSqlDatabase db() const { return connection_.database(); }

    ServerConnection connection_{GetParam(), "store_server_test"};
    ScratchTable table_{connection_.database()};
};

TEST_P(StoreServerTest, UpdateThatChangesNothingCountsTheMatchedRow)
{
    QSqlQuery query(db());
    ASSERT_TRUE(query.exec(QString("INSERT INTO %1 (id, v) VALUES (1, 'x')").arg(table_.name())));
    ASSERT_TRUE(query.exec(QString("UPDATE %1 SET v = 'x' WHERE id = 1").arg(table_.name())));
    EXPECT_EQ(query.numRowsAffected(), 1);
    ASSERT_TRUE(query.exec(QString("UPDATE %1 SET v = 'x' WHERE id = 2").arg(table_.name())));
    EXPECT_EQ(query.numRowsAffected(), 0);
}

TEST_P(StoreServerTest, ClientTalksUtf8mb4)
{
    QSqlQuery query(db());
    ASSERT_TRUE(query.exec("SELECT @@character_set_client, @@character_set_results"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toString(), "utf8mb4");
    EXPECT_EQ(query.value(1).toString(), "utf8mb4");
}

INSTANTIATE_TEST_SUITE_P(Servers, StoreServerTest,
                         ::testing::Values(StoreServer::MariaDb, StoreServer::Odbc),
                         [](const auto& info) { return testsupport::storeServerName(info.param); });

TEST(MysqlCommandFile, CreatesTheLogTable)
{
    ServerConnection connection(StoreServer::MariaDb, "mysql_command_file_test");
    ASSERT_TRUE(connection.isOpen());
    QSqlDatabase db = connection.database();
    ScratchTable table(db);
    const QString statement = TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands"
                                                           "/CreateTable.MYSQL"),
        table.name());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(statement)) << query.lastError().text().toStdString() << "\n"
                                       << statement.toStdString();

    const QStringList expected = {"id",          "ct",           "sb",
                                  "callsign",    "yyyy",         "mmdd",
                                  "pageno",      "crew",         "intention",
                                  "depart",      "arrive",       "outtime",
                                  "offtime",     "ontime",       "intime",
                                  "ovh",         "blocktime",    "flighttime",
                                  "sincema",     "sinceov",      "sign",
                                  "remarks",     "printed",      "e_pageno",
                                  "e_ovh",       "e_groundtime", "e_flighttime",
                                  "e_totaltime", "e_sincema",    "e_sinceov",
                                  "e_remarks",   "e_printed",    "p_pageno",
                                  "p_ovh",       "p_groundtime", "p_flighttime",
                                  "p_totaltime", "p_sincema",    "p_sinceov",
                                  "p_remarks",   "p_printed",    "airworthiness",
                                  "glider"};
    const QSqlRecord record = db.record(table.name());
    QStringList columns;
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i);
    EXPECT_EQ(columns, expected);

    // The MySQL store posts new rows with id 0 and quotes every value.
    ASSERT_TRUE(query.exec(QString("INSERT INTO %1 (id, ct, sb, yyyy, mmdd, pageno, crew) "
                                   "VALUES (0, '5', '0', '2010', '0703', '12', '山田')")
                               .arg(table.name())))
        << query.lastError().text().toStdString();
    ASSERT_TRUE(query.exec(
        QString("SELECT id, ct, mmdd, pageno, crew, remarks, printed FROM %1").arg(table.name())));
    ASSERT_TRUE(query.next());
    EXPECT_GT(query.value("id").toInt(), 0);
    EXPECT_EQ(query.value("ct").toInt(), 5);
    EXPECT_EQ(query.value("mmdd").toString(), "0703");
    EXPECT_EQ(query.value("pageno").toInt(), 12);
    EXPECT_EQ(query.value("crew").toString(), "山田");
    EXPECT_EQ(query.value("remarks").toString(), "");
    EXPECT_FALSE(query.value("remarks").isNull());
    EXPECT_EQ(query.value("printed").toInt(), 0);

    ASSERT_TRUE(query.exec(QString("SELECT column_name FROM information_schema.statistics "
                                   "WHERE table_schema = DATABASE() AND table_name = '%1' "
                                   "AND index_name <> 'PRIMARY' ORDER BY seq_in_index")
                               .arg(table.name())));
    QStringList indexed;
    while (query.next())
        indexed << query.value(0).toString();
    EXPECT_EQ(indexed, QStringList({"ct", "sb"}));
}

} // namespace
