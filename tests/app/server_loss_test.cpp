// A MySQL server lost in the middle of a recalculation, on a server of the
// test's own (the shared one serves other tests meanwhile): the grid and the
// totals never show figures the table does not hold, and the program finds
// the server again once it is back.
#include "app/grid/fix_db_grid.h"
#include "app/skelvo_windows.h"
#include "core/password.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "db/table_management.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_servers.h"
#include "tests/testsupport/temp_folder.h"
#include "ui/message_box.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int Flights = 300;
const QString Table = QStringLiteral("ja_loss");

using testsupport::StoreServer;

class ServerLossTest : public ::testing::TestWithParam<StoreServer>
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        MessageBox::setTestMode(true);
        ASSERT_TRUE(server("start"));
        QSqlDatabase db = connection();
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        query.exec("DROP TABLE IF EXISTS " + Table);
        ASSERT_TRUE(query.exec(TableManagement::prepareCommand(
            TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.MYSQL"),
            Table)))
            << query.lastError().text().toStdString();
        // An opening row of ten hours, then flights of ten minutes whose
        // totals are not worked out yet.
        QStringList values{"(1, 0, '10:00', '')"};
        for (int ct = 2; ct <= Flights + 1; ++ct)
            values.append(QStringLiteral("(%1, 0, '', '00:10')").arg(ct));
        ASSERT_TRUE(
            query.exec(QStringLiteral("INSERT INTO %1 (ct, sb, sincema, flighttime) VALUES %2")
                           .arg(Table, values.join(','))))
            << query.lastError().text().toStdString();
        db.close();

        // The data source of this server, written beside it by the fixture.
        const bool odbc = GetParam() == StoreServer::Odbc;
        if (odbc) {
            qputenv("ODBCSYSINI", serverDir().toLocal8Bit());
            qputenv("ODBCINI", (serverDir() + "/odbc.ini").toLocal8Bit());
        }
        write("DatabaseKind", QString::number(odbc ? OdbcStore : MySqlStore));
        write("ServerName", QStringLiteral("127.0.0.1:%1").arg(serverPort()));
        write("DatabaseName",
              odbc ? env("SKELVO_TEST_ODBC_DSN") : env("SKELVO_TEST_MYSQL_DATABASE"));
        write("UserName", env("SKELVO_TEST_MYSQL_USER"));
        write("Password", Myutyfunc::ScramblePassword(env("SKELVO_TEST_MYSQL_PASSWORD")));
        write("TableName", Table);
    }

    void TearDown() override
    {
        windows_.reset();
        QSqlDatabase::removeDatabase(QStringLiteral("server loss check"));
        server("stop");
        MessageBox::setTestMode(false);
    }

    static QString env(const char* name) { return qEnvironmentVariable(name); }
    void write(const char* key, const QString& value)
    {
        MyutyFiles::IniWriteString(ini_, "Database", key, value);
    }

    // A server for each kind of connection, so that the two tests can run
    // at once without stopping each other's server.
    static QString serverDir()
    {
        return QStringLiteral(SKELVO_LOSS_MARIADB_DIR "-") +
               QLatin1StringView(testsupport::storeServerName(GetParam()));
    }
    static int serverPort()
    {
        return SKELVO_LOSS_MARIADB_PORT + (GetParam() == StoreServer::Odbc ? 1 : 0);
    }

    static bool server(const char* command)
    {
        QStringList arguments{SKELVO_SOURCE_DIR "/tests/fixtures/mariadb.sh", command, serverDir()};
        if (QByteArray(command) == "start")
            arguments.append(QString::number(serverPort()));
        return QProcess::execute("bash", arguments) == 0;
    }

    static QSqlDatabase connection()
    {
        const QString name = QStringLiteral("server loss check");
        QSqlDatabase db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false)
                                                       : QSqlDatabase::addDatabase("QMYSQL", name);
        db.setHostName("127.0.0.1");
        db.setPort(serverPort());
        db.setDatabaseName(env("SKELVO_TEST_MYSQL_DATABASE"));
        db.setUserName(env("SKELVO_TEST_MYSQL_USER"));
        db.setPassword(env("SKELVO_TEST_MYSQL_PASSWORD"));
        return db;
    }

    // The last row's sincema and how many rows have any, read by another client.
    static QString storedTotals()
    {
        QSqlDatabase db = connection();
        if (!db.open())
            return "cannot read: " + db.lastError().text();
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT (SELECT sincema FROM %1 ORDER BY ct DESC LIMIT 1), "
                                  "(SELECT COUNT(*) FROM %1 WHERE sincema <> '')")
                       .arg(Table));
        const QString result =
            query.next() ? query.value(0).toString() + ' ' + query.value(1).toString() : "?";
        db.close();
        return result;
    }

    void start()
    {
        windows_ = std::make_unique<SkelvoWindows>(ini_);
        main().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
        ASSERT_TRUE(rows().isOpen()) << MessageBox::takeRecorded().value(0).text.toStdString();
    }
    TSkelvoMainForm& main() { return windows_->mainForm; }
    DataSet& rows() { return *windows_->dbSettingForm.store().CurrentDataSet(); }
    QString totalsBox() { return main().findChild<QLineEdit*>("Edit1")->text(); }

    // Recalculates the whole table; halfway through the pass the server
    // stops, and comes back at once when restart is set. The message shown.
    QString recalculateLosingServer(bool restart)
    {
        auto* bar = main().findChild<QProgressBar*>("ProgressBar1");
        bool lost = false;
        const auto connection = QObject::connect(bar, &QProgressBar::valueChanged, [&](int done) {
            if (lost || done < Flights / 2)
                return;
            lost = true;
            EXPECT_TRUE(server("stop"));
            EXPECT_TRUE(!restart || server("start"));
        });
        main().findChild<QAction*>("CalcAllAction")->trigger();
        QObject::disconnect(connection);
        EXPECT_TRUE(lost);
        const auto shown = MessageBox::takeRecorded();
        return shown.size() == 1 ? shown[0].text : QString("%1 messages").arg(shown.size());
    }

    testsupport::TempFolder folder_;
    QString ini_ = folder_.filePath("skelvo.INI");
    std::unique_ptr<SkelvoWindows> windows_;
};

TEST_P(ServerLossTest, AFailedPassShowsWhatTheTableHoldsAndTheServerIsFoundAgain)
{
    start();
    EXPECT_EQ(storedTotals(), " 1");

    // Back before the pass's changes go: they fail on the lost connection,
    // the table is read again over a new one and the next pass works.
    EXPECT_FALSE(recalculateLosingServer(true).isEmpty());
    EXPECT_EQ(storedTotals(), " 1"); // nothing of the pass was written
    ASSERT_TRUE(rows().isOpen());
    EXPECT_EQ(rows().changeCount(), 0); // nothing held unsent
    EXPECT_EQ(rows().recordCount(), Flights + 1);
    EXPECT_EQ(totalsBox(), "");
    main().findChild<QAction*>("CalcAllAction")->trigger();
    EXPECT_EQ(MessageBox::takeRecorded().value(0).text, "");
    EXPECT_EQ(storedTotals(), "60:00 301");
    EXPECT_EQ(totalsBox(), "60:00");

    // Still away after the pass: the table cannot be read, and says so.
    QSqlDatabase db = connection();
    ASSERT_TRUE(db.open());
    QSqlQuery(db).exec(QStringLiteral("UPDATE %1 SET sincema = '20:00' WHERE ct = 1").arg(Table));
    db.close();
    main().findChild<QAction*>("DataRefreshAction")->trigger();
    const QString message = recalculateLosingServer(false);
    EXPECT_TRUE(message.contains(QStringLiteral("読み直せない"))) << message.toStdString();
    EXPECT_FALSE(rows().isOpen());
    EXPECT_EQ(totalsBox(), "");
    ASSERT_TRUE(server("start"));
    EXPECT_EQ(storedTotals(), "60:00 301");
    main().findChild<QAction*>("DataRefreshAction")->trigger();
    ASSERT_TRUE(rows().isOpen());
    EXPECT_EQ(totalsBox(), "60:00");
    main().findChild<QAction*>("CalcAllAction")->trigger();
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    EXPECT_EQ(storedTotals(), "70:00 301");
    EXPECT_EQ(totalsBox(), "70:00");
}

INSTANTIATE_TEST_SUITE_P(Stores, ServerLossTest,
                         ::testing::Values(StoreServer::MariaDb, StoreServer::Odbc),
                         [](const auto& info) { return testsupport::storeServerName(info.param); });

} // namespace
