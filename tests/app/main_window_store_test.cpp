// Start-up with a stored table on the server stores, and refresh.
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

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using testsupport::StoreServer;

class MainWindowStoreTest : public ::testing::TestWithParam<StoreServer>
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        MessageBox::setTestMode(true);
        ASSERT_TRUE(server_.isOpen());
        ASSERT_TRUE(table_.create(TableManagement::prepareCommand(
            TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.MYSQL"),
            "%%")));
        QSqlQuery(server_.database())
            .exec(QStringLiteral("INSERT INTO %1 (ct, sb, crew) VALUES (1, 0, 'a'), (2, 0, 'b')")
                      .arg(table_.name()));
        const bool odbc = GetParam() == StoreServer::Odbc;
        const auto env = [](const char* name) { return qEnvironmentVariable(name); };
        write("DatabaseKind", QString::number(odbc ? OdbcStore : MySqlStore));
        write("ServerName", env("SKELVO_TEST_MYSQL_HOST") + ':' + env("SKELVO_TEST_MYSQL_PORT"));
        write("DatabaseName",
              odbc ? env("SKELVO_TEST_ODBC_DSN") : env("SKELVO_TEST_MYSQL_DATABASE"));
        write("UserName", env("SKELVO_TEST_MYSQL_USER"));
        write("Password", Myutyfunc::ScramblePassword(env("SKELVO_TEST_MYSQL_PASSWORD")));
        write("TableName", table_.name());
    }
    void TearDown() override { MessageBox::setTestMode(false); }

    void write(const char* key, const QString& value)
    {
        MyutyFiles::IniWriteString(ini_, "Database", key, value);
    }

    testsupport::TempFolder folder_;
    QString ini_ = folder_.filePath("skelvo.INI");
    testsupport::ServerConnection server_{GetParam(), "main window check"};
    testsupport::ScratchTable table_{server_.database()};
};

TEST_P(MainWindowStoreTest, OpensTheStoredTableAndRefreshes)
{
    SkelvoWindows windows(ini_);
    windows.mainForm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.mainForm));
    DataSet* rows = windows.dbSettingForm.store().CurrentDataSet();
    ASSERT_TRUE(rows->isOpen()) << MessageBox::takeRecorded().value(0).text.toStdString();
    EXPECT_EQ(rows->asString(u"crew"), "b");
    EXPECT_GE(windows.mainForm.ComboBox1->findText(table_.name()), 0);

    QSqlQuery(server_.database())
        .exec(
            QStringLiteral("INSERT INTO %1 (ct, sb, crew) VALUES (3, 0, 'c')").arg(table_.name()));
    windows.mainForm.DataRefreshActionExecute();
    EXPECT_EQ(rows->recordCount(), 3);
    EXPECT_EQ(rows->asString(u"crew"), "c");
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

TEST_P(MainWindowStoreTest, AFlightEnteredFromTheGridReachesTheServerWithItsTotals)
{
    QSqlQuery(server_.database())
        .exec(QStringLiteral("UPDATE %1 SET sincema = '10:00' WHERE ct = 1").arg(table_.name()));
    SkelvoWindows windows(ini_);
    windows.mainForm.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.mainForm));
    QTimer::singleShot(0, &windows.inputForm, [&] {
        TInputForm& dialog = windows.inputForm;
        QApplication::setActiveWindow(&dialog);
        dialog.findChild<QComboBox*>("ComboBox1")->setFocus();
        dialog.findChild<QComboBox*>("ComboBox1")->setEditText("Ito");
        dialog.findChild<QLineEdit*>("DBEdit8")->setFocus();
        QTest::keyClicks(dialog.findChild<QLineEdit*>("DBEdit8"), "1000");
        dialog.findChild<QLineEdit*>("DBEdit9")->setFocus();
        QTest::keyClicks(dialog.findChild<QLineEdit*>("DBEdit9"), "1045");
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    });
    QTest::keyClicks(windows.mainForm.FixDBGrid1, "+");
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());

    QSqlQuery stored(server_.database());
    ASSERT_TRUE(stored.exec(
        QStringLiteral("SELECT ct, sb, crew, flighttime, sincema FROM %1 ORDER BY ct,sb")
            .arg(table_.name())));
    QStringList rows;
    while (stored.next())
        rows.append(QStringList{stored.value(0).toString(), stored.value(1).toString(),
                                stored.value(2).toString(), stored.value(3).toString(),
                                stored.value(4).toString()}
                        .join(' '));
    EXPECT_EQ(rows, (QStringList{"1 0 a  10:00", "2 0 b  ", "3 0 Ito 00:45 10:45"}));
    EXPECT_EQ(windows.mainForm.findChild<QLineEdit*>("Edit1")->text(), "10:45");
}

INSTANTIATE_TEST_SUITE_P(Stores, MainWindowStoreTest,
                         ::testing::Values(StoreServer::MariaDb, StoreServer::Odbc),
                         [](const auto& info) { return testsupport::storeServerName(info.param); });

} // namespace
