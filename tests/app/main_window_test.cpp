// The program's start-up, table switching and shutdown, driven through the
// real windows on a folder store.
#include "app/grid/fix_db_grid.h"
#include "app/skelvo_windows.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "db/table_management.h"
#include "paradox/paradox_sql.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"
#include "ui/message_box.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace {

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        MessageBox::setTestMode(true);
        store_ = folder_.path() + "/store";
        QDir().mkpath(store_);
        paradox::SqlEngine engine(store_);
        const QString command =
            TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX");
        for (const char* table : {"AB12", "CD34"}) {
            engine.execute(TableManagement::prepareCommand(command, table));
            for (int ct = 1; ct <= 3; ++ct)
                engine.execute(
                    QStringLiteral("INSERT INTO %1 (ct, sb, crew) VALUES (%2, 0, '%1-%2')")
                        .arg(table)
                        .arg(ct));
        }
        // A short logbook with times: an opening row and two flights.
        engine.execute(TableManagement::prepareCommand(command, "EF56"));
        engine.execute(
            "INSERT INTO EF56 (ct, sb, sincema, e_sincema) VALUES (1, 0, '10:00', '5:00')");
        engine.execute(
            "INSERT INTO EF56 (ct, sb, blocktime, flighttime) VALUES (2, 0, '1:10', '1:00')");
        engine.execute(
            "INSERT INTO EF56 (ct, sb, blocktime, flighttime) VALUES (3, 0, '0:40', '0:30')");
        ini_ = folder_.filePath("skelvo.INI");
    }
    void TearDown() override { MessageBox::setTestMode(false); }

    void storeSettings(int kind, const QString& database, const QString& table)
    {
        MyutyFiles::IniWriteInteger(ini_, "Database", "DatabaseKind", kind);
        MyutyFiles::IniWriteString(ini_, "Database", "DatabaseName", database);
        MyutyFiles::IniWriteString(ini_, "Database", "TableName", table);
    }

    void start()
    {
        windows_ = std::make_unique<SkelvoWindows>(ini_);
        windows_->mainForm.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows_->mainForm));
    }

    TSkelvoMainForm& main() { return windows_->mainForm; }
    DataSet* rows() { return windows_->dbSettingForm.store().CurrentDataSet(); }
    QString statusText(int panel)
    {
        return main().statusBar()->findChildren<QLabel*>().at(panel)->text();
    }

    testsupport::TempFolder folder_;
    QString store_;
    QString ini_;
    std::unique_ptr<SkelvoWindows> windows_;
};

QString editText(TSkelvoMainForm& form, int number)
{
    return form.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(number))->text();
}

TEST_F(MainWindowTest, FirstStartWithoutSettingsOpensNothing)
{
    start();
    EXPECT_EQ(main().geometry().size(), QSize(800, 600));
    EXPECT_EQ(main().ComboBox1->currentText(), "");
    EXPECT_FALSE(rows()->isOpen());
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty()); // an unreachable listing says nothing
    main().findChild<QAction*>("AboutAction")->trigger();
    const auto shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].text.contains(QDir::toNativeSeparators(ini_)))
        << shown[0].text.toStdString();
}

TEST_F(MainWindowTest, OpensTheStoredTableOnItsLastRow)
{
    storeSettings(ParadoxStore, store_, "ab12");
    start();
    ASSERT_TRUE(rows()->isOpen());
    EXPECT_EQ(rows()->recordCount(), 3);
    EXPECT_TRUE(rows()->eof());
    EXPECT_EQ(rows()->asString(u"crew"), "AB12-3");
    EXPECT_EQ(main().ComboBox1->count(), 3);
    EXPECT_EQ(statusText(0), "Database:" + store_);
    EXPECT_EQ(statusText(1), "Record:3/3");
    // For a look: beside the test program, in the build folder.
    main().grab().save(QCoreApplication::applicationDirPath() + "/main_window.png");
}

TEST_F(MainWindowTest, AMissingTableGivesExactlyOneMessage)
{
    storeSettings(ParadoxStore, store_, "zz99");
    start();
    const auto shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, MessageBox::Kind::Error);
    EXPECT_EQ(shown[0].text.count("zz99 ORDER BY"), 1) << shown[0].text.toStdString();
    EXPECT_FALSE(rows()->isOpen());
}

TEST_F(MainWindowTest, SelectorOpensListedTablesInAnyCaseOnly)
{
    storeSettings(ParadoxStore, store_, "ab12");
    start();
    main().ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(main().ComboBox1, "zz");
    EXPECT_EQ(rows()->asString(u"crew"), "AB12-3"); // not listed: nothing happens
    const int listed = main().ComboBox1->findText("CD34");
    main().ComboBox1->setCurrentIndex(listed);
    emit main().ComboBox1->activated(listed); // chosen from the list
    EXPECT_EQ(windows_->dbSettingForm.store().TableName, "CD34");
    EXPECT_EQ(rows()->asString(u"crew"), "CD34-3");
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

TEST_F(MainWindowTest, TenStartsAndClosesLeaveTheWindowWhereAndAsLargeAsItWas)
{
    MyutyFiles::IniWriteInteger(ini_, "Windows", "Left", 30);
    MyutyFiles::IniWriteInteger(ini_, "Windows", "Top", 40);
    QRect first;
    for (int run = 0; run < 10; ++run) {
        start();
        if (run == 0)
            first = main().frameGeometry();
        EXPECT_EQ(main().frameGeometry(), first) << "start " << run;
        main().close();
    }
}

TEST_F(MainWindowTest, AMaximizedWindowComesBackMaximizedAndRestoresOnTheScreen)
{
    MyutyFiles::IniWriteInteger(ini_, "Windows", "Left", -99999);
    MyutyFiles::IniWriteInteger(ini_, "Windows", "Top", 99999);
    start();
    const QRect screen = main().screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(main().frameGeometry().topLeft())) << "brought onto the screen";
    const QSize normal = main().size();
    main().showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main().isMaximized(); }));
    main().close();
    EXPECT_TRUE(MyutyFiles::IniReadBool(ini_, "Windows", "Maximized", false));
    EXPECT_EQ(MyutyFiles::IniReadInteger(ini_, "Windows", "Width", 0), normal.width());

    start();
    EXPECT_TRUE(main().isMaximized());
    main().showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return main().size() == normal; }))
        << main().width() << "x" << main().height();
    EXPECT_TRUE(screen.contains(main().frameGeometry().topLeft()));
}

TEST_F(MainWindowTest, TheSelectorOpensWhatIsTypedNotWhatCompletionProposes)
{
    storeSettings(ParadoxStore, store_, "ab12");
    start();
    rows()->setRecNo(2);
    main().findChild<QAction*>("CalcStartAction")->trigger();
    main().ComboBox1->setFocus();
    main().ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(main().ComboBox1, "c");
    EXPECT_EQ(windows_->dbSettingForm.store().TableName, "ab12"); // "cD34" only proposed
    QTest::keyClicks(main().ComboBox1, "d34");
    EXPECT_EQ(windows_->dbSettingForm.store().TableName, "cd34"); // as typed
    EXPECT_EQ(rows()->asString(u"crew"), "CD34-3");
    EXPECT_EQ(main().Part.PartStart, 0); // the other aircraft's marks are gone
    main().FixDBGrid1->setFocus();
    EXPECT_EQ(windows_->dbSettingForm.store().TableName, "cd34");
}

// Once the selector has opened a table the keys go to the log, where "+"
// appends a flight instead of joining the name; a typed name that another
// listed one continues keeps them in the selector to be typed on.
TEST_F(MainWindowTest, TheKeysGoToTheGridOnceTheSelectorHasOpenedATable)
{
    paradox::SqlEngine(store_).execute(TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"), "CD345"));
    storeSettings(ParadoxStore, store_, "ab12");
    start();
    main().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    StoreConnections& store = windows_->dbSettingForm.store();
    QComboBox* selector = main().ComboBox1;
    selector->setFocus();
    selector->lineEdit()->selectAll();
    QTest::keyClicks(QApplication::focusWidget(), "cd34");
    EXPECT_EQ(store.TableName, "cd34");
    EXPECT_TRUE(selector->hasFocus()); // "CD345" may be meant
    QTest::keyClicks(QApplication::focusWidget(), "5");
    EXPECT_EQ(store.TableName, "cd345");
    EXPECT_TRUE(main().FixDBGrid1->hasFocus());

    DataSet::State shownFor = DataSet::State::Inactive;
    QTimer::singleShot(0, &windows_->inputForm, [&] {
        shownFor = rows()->state();
        windows_->inputForm.reject();
    });
    QTest::keyClicks(QApplication::focusWidget(), "+");
    EXPECT_EQ(shownFor, DataSet::State::Insert);
    EXPECT_EQ(selector->currentText().toLower(), "cd345");

    // Chosen from the list; the window's focus is where the keys go once
    // the list has closed.
    selector->setFocus();
    selector->showPopup();
    selector->view()->setCurrentIndex(selector->model()->index(selector->findText("AB12"), 0));
    QTest::keyClick(selector->view(), Qt::Key_Return);
    EXPECT_EQ(store.TableName, "AB12");
    EXPECT_EQ(main().focusWidget(), main().FixDBGrid1);

    // Stepping through the aircraft with the arrows keeps the keys there.
    selector->setFocus();
    const int at = selector->currentIndex();
    QTest::keyClick(selector, at > 0 ? Qt::Key_Up : Qt::Key_Down);
    EXPECT_EQ(store.TableName, selector->itemText(at > 0 ? at - 1 : at + 1));
    EXPECT_EQ(main().focusWidget(), selector);
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

TEST_F(MainWindowTest, AFailedOpenClearsTheTotalsOfTheTableBefore)
{
    storeSettings(ParadoxStore, store_, "EF56");
    start();
    main().findChild<QAction*>("CalcAllAction")->trigger();
    ASSERT_EQ(editText(main(), 1), "11:30");
    QFile::remove(store_ + "/CD34.DB");
    main().ComboBox1->setEditText("cd34");
    emit main().ComboBox1->lineEdit()->textEdited("cd34");
    EXPECT_EQ(MessageBox::takeRecorded().size(), 1);
    EXPECT_EQ(editText(main(), 1), "");
}

TEST_F(MainWindowTest, ShutdownWritesPlacementPreferencesAndLayoutName)
{
    storeSettings(ParadoxStore, store_, "ab12");
    start();
    main().preferences.RussianValue = 35;
    main().close();
    EXPECT_EQ(MyutyFiles::IniReadInteger(ini_, "Windows", "Width", 0), main().width());
    EXPECT_EQ(MyutyFiles::IniReadInteger(ini_, "Preference", "RussianValue", 0), 35);
    EXPECT_EQ(MyutyFiles::IniReadString(ini_, "GridDesign", "ColumnsDefFile", ""), "Default.CDF");
    EXPECT_FALSE(rows()->isOpen());
}

TEST_F(MainWindowTest, RecalculationFillsTheTotalsBoxes)
{
    storeSettings(ParadoxStore, store_, "EF56");
    start();
    EXPECT_EQ(editText(main(), 1), ""); // nothing computed yet
    QList<int> shownProgress;
    auto* bar = main().findChild<QProgressBar*>("ProgressBar1");
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (bar->isVisible() && value > 0)
            shownProgress.append(value);
    });
    main().findChild<QAction*>("CalcAllAction")->trigger();
    EXPECT_EQ(editText(main(), 1), "11:30");
    EXPECT_EQ(editText(main(), 3), "06:30");
    EXPECT_EQ(editText(main(), 2), ""); // no since-overhaul total was ever set
    EXPECT_EQ(rows()->recNo(), 3);      // the current row stays
    EXPECT_EQ(shownProgress, (QList<int>{1, 2}));
    EXPECT_FALSE(main().findChild<QProgressBar*>("ProgressBar1")->isVisible());
}

TEST_F(MainWindowTest, MarkedRangeIsSummedAndDrawnPink)
{
    storeSettings(ParadoxStore, store_, "EF56");
    start();
    rows()->setRecNo(2);
    main().findChild<QAction*>("CalcStartAction")->trigger();
    rows()->setRecNo(3);
    main().findChild<QAction*>("CalcEndAction")->trigger();
    EXPECT_EQ(main().Part.PartStart, 2);
    EXPECT_EQ(main().Part.PartEnd, 3);
    EXPECT_TRUE(main().findChild<QWidget*>("Panel1")->isVisible());
    EXPECT_EQ(editText(main(), 7), "01:50");
    EXPECT_EQ(editText(main(), 8), "01:30");

    const auto drawn = [&](int row, bool focusCell) {
        QStyleOptionViewItem option;
        option.state = QStyle::State_Selected;
        emit main().FixDBGrid1->drawColumnCell(main().FixDBGrid1->model()->index(row, 0), focusCell,
                                               option);
        return option.backgroundBrush.color();
    };
    EXPECT_EQ(drawn(1, false), QColor(255, 193, 255));
    EXPECT_NE(drawn(1, true), QColor(255, 193, 255)); // the selected cell keeps its colours
    EXPECT_NE(drawn(0, false), QColor(255, 193, 255));

    main().findChild<QAction*>("CalcReleaseAction")->trigger();
    EXPECT_FALSE(main().findChild<QWidget*>("Panel1")->isVisible());
    EXPECT_NE(drawn(1, false), QColor(255, 193, 255));
}

} // namespace
