#include "core/logon_user.h"
#include "core/password.h"
#include "core/settings_file.h"
#include "core/settings_keys.h"
#include "tests/db_window/form_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

namespace dbwindow {
namespace {

using ConnectionGroupTest = FormTest;

bool shown(QWidget* widget, QWidget* window)
{
    return widget->isVisibleTo(window);
}

TEST_F(ConnectionGroupTest, OpensWithTheStoredSettingsAndTheFirstLayout)
{
    storeSettings(OdbcStore, QStringLiteral("logbook"), QStringLiteral("ja01ab"));
    Settings::write(ini_, Settings::Password, Myutyfunc::ScramblePassword(QStringLiteral("pw")));
    TdBSettingForm& window = form();

    EXPECT_EQ(window.windowTitle(), QStringLiteral("データベース設定"));
    EXPECT_EQ(combo()->currentText(), QStringLiteral("ODBC"));
    EXPECT_EQ(edit(1)->text(), QStringLiteral("localhost"));
    EXPECT_EQ(edit(2)->text(), QStringLiteral("logbook"));
    EXPECT_EQ(edit(3)->text(), loggedOnUserName());
    EXPECT_EQ(edit(4)->text(), QStringLiteral("pw"));
    EXPECT_EQ(edit(4)->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit(5)->text(), QStringLiteral("ja01ab"));
    // Selecting the stored kind does not rearrange the fields.
    EXPECT_TRUE(shown(edit(1), &window));
    EXPECT_EQ(editCaption(2)->text(), QStringLiteral("データベース"));
    EXPECT_FALSE(shown(resultLabel(), &window));
    EXPECT_FALSE(shown(window.findChild<QProgressBar*>("ProgressBar1"), &window));
    EXPECT_FALSE(window.store().IsConnected);
}

TEST_F(ConnectionGroupTest, PickedKindArrangesTheFieldsButKeepsTheStoredKind)
{
    storeSettings(MySqlStore, dataFolder_);
    TdBSettingForm& window = form();
    struct Case
    {
        int kind;
        bool server, user;
        const char* caption;
    };
    const Case cases[] = {{OdbcStore, false, true, "データソース"},
                          {ParadoxStore, false, false, "データフォルダー"},
                          {MySqlStore, true, true, "データベース"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        pickKind(c.kind);
        EXPECT_EQ(shown(edit(1), &window), c.server);
        EXPECT_EQ(editCaption(2)->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(shown(edit(3), &window), c.user);
        EXPECT_EQ(shown(edit(4), &window), c.user);
        EXPECT_EQ(window.store().DatabaseKind, MySqlStore);
    }
    // The database edit named an existing folder, so no chooser opened.
    EXPECT_TRUE(chooserRequests_.isEmpty());
}

TEST_F(ConnectionGroupTest, ParadoxWithoutAFolderOpensTheChooserAtOnce)
{
    form();
    edit(2)->setText(QStringLiteral("Skelvo"));
    chooserAnswer_ = std::nullopt;
    pickKind(ParadoxStore);
    ASSERT_EQ(chooserRequests_.size(), 1);
    EXPECT_EQ(chooserRequests_[0].title, QStringLiteral("フォルダーを選択して下さい。"));
    EXPECT_EQ(chooserRequests_[0].root, rfDeskTop);
    EXPECT_TRUE(chooserRequests_[0].preselected.isEmpty());
    EXPECT_EQ(edit(2)->text(), QStringLiteral("Skelvo")); // cancelled

    chooserAnswer_ = dataFolder_;
    pickKind(ParadoxStore);
    EXPECT_EQ(edit(2)->text(), dataFolder_);
}

TEST_F(ConnectionGroupTest, FolderBoxTakesTypingAndChoosesOnDoubleClickOrItsButton)
{
    storeSettings(MySqlStore, dataFolder_);
    form();
    chooserAnswer_ = folder_.path();
    QTest::mouseDClick(edit(2), Qt::LeftButton);
    EXPECT_TRUE(chooserRequests_.isEmpty()); // not a folder for this kind

    pickKind(ParadoxStore);
    QTest::mouseClick(edit(2), Qt::LeftButton);
    edit(2)->clear();
    const QString typed = folder_.filePath(QStringLiteral("typed"));
    ASSERT_TRUE(QDir().mkpath(typed));
    QTest::keyClicks(edit(2), typed);
    EXPECT_TRUE(chooserRequests_.isEmpty());
    clickButton("Button1");
    EXPECT_EQ(form().store().DatabaseName, typed);

    QTest::mouseDClick(edit(2), Qt::LeftButton);
    ASSERT_EQ(chooserRequests_.size(), 1);
    EXPECT_EQ(chooserRequests_[0].preselected, QDir::toNativeSeparators(typed));
    EXPECT_EQ(edit(2)->text(), QDir::toNativeSeparators(folder_.path()));
    auto* chooser = form().findChild<QToolButton*>(QStringLiteral("ParadoxOpenButton"));
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(shown(chooser, &form()));
    chooser->click();
    EXPECT_EQ(chooserRequests_.size(), 2);
    pickKind(MySqlStore);
    EXPECT_FALSE(shown(chooser, &form()));
}

TEST_F(ConnectionGroupTest, SetAndTestTakesTheEditsOnlyWhenTheyConnect)
{
    form();
    chooserAnswer_ = std::nullopt;
    pickKind(ParadoxStore);
    edit(2)->setText(folder_.filePath(QStringLiteral("missing")));
    clickButton("Button1");
    EXPECT_FALSE(form().store().IsConnected);
    EXPECT_TRUE(shown(resultLabel(), &form()));
    EXPECT_EQ(resultLabel()->text(), QStringLiteral("NG"));
    EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(form().store().DatabaseKind, MySqlStore);
    EXPECT_EQ(form().store().DatabaseName, QStringLiteral("Skelvo"));

    edit(2)->setText(dataFolder_);
    EXPECT_FALSE(shown(resultLabel(), &form())); // a changed edit hides the old result
    edit(3)->setText(QStringLiteral("hidden user"));
    edit(4)->setText(QStringLiteral("hidden pw"));
    clickButton("Button1");
    EXPECT_TRUE(form().store().IsConnected);
    EXPECT_EQ(resultLabel()->text(), QStringLiteral("OK"));
    EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    const StoreConnections& store = form().store();
    EXPECT_EQ(store.DatabaseKind, ParadoxStore);
    EXPECT_EQ(store.ServerName, QStringLiteral("localhost"));
    EXPECT_EQ(store.DatabaseName, dataFolder_);
    EXPECT_EQ(store.UserName, QStringLiteral("hidden user"));
    EXPECT_EQ(store.Password, QStringLiteral("hidden pw"));
}

// The label shows the last connect, also one the main window made while the
// window was closed, and a failure says why. Screenshots of both states stay
// beside the test executable.
TEST_F(ConnectionGroupTest, ResultLabelShowsTheLastConnectAndWhyItFailed)
{
    const QString later = folder_.filePath(QStringLiteral("later"));
    storeSettings(ParadoxStore, later);
    auto* status = form().findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
    clickButton("Button1");
    EXPECT_EQ(resultLabel()->text(), QStringLiteral("NG"));
    EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_TRUE(resultLabel()->toolTip().contains(later)) << resultLabel()->toolTip().toStdString();
    EXPECT_EQ(status->currentMessage(), resultLabel()->toolTip());
    const QString shots = QCoreApplication::applicationDirPath();
    EXPECT_TRUE(form().grab().save(shots + QStringLiteral("/db_setting_form_ng.png")));

    form().ExitAction->trigger();
    ASSERT_TRUE(QDir().mkpath(later));
    form().store().ConnectDatabase(); // the main window reopening the table
    ASSERT_TRUE(form().store().IsConnected);
    form().show();
    EXPECT_TRUE(shown(resultLabel(), &form()));
    EXPECT_EQ(resultLabel()->text(), QStringLiteral("OK"));
    EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    EXPECT_TRUE(resultLabel()->toolTip().isEmpty());
    EXPECT_TRUE(status->currentMessage().isEmpty());
    EXPECT_TRUE(form().grab().save(shots + QStringLiteral("/db_setting_form_ok.png")));
}

TEST_F(ConnectionGroupTest, ClosingWritesPositionAndDatabaseSection)
{
    Settings::write(ini_, Settings::WindowsTop, 40);
    Settings::write(ini_, Settings::WindowsLeft, 30);
    TdBSettingForm& window = form();
    // Centred over the main window whenever shown.
    EXPECT_LE(
        (window.frameGeometry().center() - mainWindow_->frameGeometry().center()).manhattanLength(),
        2);
    pickKind(ParadoxStore);
    edit(2)->setText(dataFolder_);
    edit(4)->setText(QStringLiteral("秘密 pass"));
    clickButton("Button1");
    edit(5)->setText(QStringLiteral("ab12"));
    window.move(window.x() + 7, window.y() + 5);
    const QPoint at = window.pos();
    window.ExitAction->trigger();
    EXPECT_FALSE(window.isVisible());

    EXPECT_EQ(Settings::read(ini_, Settings::WindowsTop), at.y());
    EXPECT_EQ(Settings::read(ini_, Settings::WindowsLeft), at.x());
    EXPECT_EQ(Settings::read(ini_, Settings::DatabaseKind), ParadoxStore);
    EXPECT_EQ(Settings::read(ini_, Settings::DatabaseName), dataFolder_);
    EXPECT_EQ(Settings::read(ini_, Settings::UserName), loggedOnUserName());
    EXPECT_EQ(MyutyFiles::IniReadString(ini_, "Database", "Password", ""),
              Myutyfunc::ScramblePassword(QStringLiteral("秘密 pass")));
    EXPECT_EQ(Settings::read(ini_, Settings::TableName), QStringLiteral("ab12"));
}

TEST_F(ConnectionGroupTest, EscapeAlsoWritesTheSettings)
{
    form();
    edit(5)->setText(QStringLiteral("esc1"));
    QTest::keyClick(&form(), Qt::Key_Escape);
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(Settings::read(ini_, Settings::TableName), QStringLiteral("esc1"));
}

} // namespace
} // namespace dbwindow
