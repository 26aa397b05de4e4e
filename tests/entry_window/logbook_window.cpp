#include "tests/entry_window/logbook_window.h"

#include "app/grid/fix_db_grid.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "db/table_management.h"
#include "entry/db_controls.h"
#include "paradox/paradox_sql.h"
#include "tests/testsupport/gui_application.h"
#include "ui/message_box.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace entrytest {

void LogbookWindowTest::SetUp()
{
    testsupport::ensureGuiApplication();
    MessageBox::setTestMode(true);
    store_ = folder_.path() + "/store";
    QDir().mkpath(store_);
    const QString table = fillStore();
    ini_ = folder_.filePath("skelvo.INI");
    setting("Database", "DatabaseKind", QString::number(ParadoxStore));
    setting("Database", "DatabaseName", store_);
    setting("Database", "TableName", table);
}

QString LogbookWindowTest::fillStore()
{
    paradox::SqlEngine engine(store_);
    engine.execute(TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"),
        "ja2401"));
    engine.execute("INSERT INTO ja2401 (ct, sb, callsign, printed, p_printed, yyyy, mmdd, e_ovh, "
                   "sincema, sinceov, e_sincema, e_sinceov, p_sincema, p_sinceov) VALUES (1, 0, "
                   "'old', 1, 1, '2026', '0101', 1, '100:00', '10:00', '50:00', '5:00', "
                   "'40:00', '4:00')");
    engine.execute(
        "INSERT INTO ja2401 (ct, sb, yyyy, mmdd, crew, depart, arrive, outtime, offtime, ontime, "
        "intime, blocktime, flighttime, sincema, sinceov, e_flighttime, e_totaltime, e_sincema, "
        "e_sinceov, p_flighttime, p_totaltime, p_sincema, p_sinceov) VALUES (2, 0, '2026', "
        "'1201', 'YAMADA', 'RJTT', 'RJAA', '09:00', '09:10', '10:00', '10:05', '01:05', '00:50', "
        "'100:50', '10:50', '00:50', '00:50', '50:50', '05:50', '00:50', '00:50', '40:50', "
        "'04:50')");
    return QStringLiteral("ja2401");
}

void LogbookWindowTest::TearDown()
{
    windows_.reset();
    MessageBox::takeRecorded();
    MessageBox::setTestMode(false);
}

void LogbookWindowTest::setting(const char* section, const char* key, const QString& value)
{
    MyutyFiles::IniWriteString(ini_, section, key, value);
}

void LogbookWindowTest::start()
{
    windows_ = std::make_unique<SkelvoWindows>(ini_);
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    main().activateWindow();
    main().FixDBGrid1->setFocus();
    ASSERT_TRUE(rows().isOpen());
}

DataSet& LogbookWindowTest::rows()
{
    return *windows_->dbSettingForm.store().CurrentDataSet();
}

QStringList LogbookWindowTest::stored(const char* column)
{
    paradox::SqlEngine engine(store_);
    const paradox::QueryResult result =
        engine.execute(QStringLiteral("SELECT ct, sb, %1 FROM ja2401 ORDER BY ct,sb").arg(column));
    QStringList lines;
    for (const auto& row : result.rows)
        lines.append(QStringLiteral("%1,%2 %3")
                         .arg(row[0].toInt())
                         .arg(row[1].toInt())
                         .arg(row[2].isNull() ? QString() : row[2].toString()));
    return lines;
}

void LogbookWindowTest::whileDialogShown(const std::function<void()>& steps)
{
    dialogWasShown_ = false;
    QTimer::singleShot(0, &dialog(), [this, steps] {
        if (!dialog().isVisible())
            return;
        dialogWasShown_ = true;
        QApplication::setActiveWindow(&dialog());
        if (steps)
            steps();
        if (dialog().isVisible())
            dialog().reject();
    });
}

void LogbookWindowTest::inWindowOf(const char* action, const char* window,
                                   const std::function<void(QDialog&)>& steps)
{
    bool shown = false;
    QTimer::singleShot(0, &main(), [&] {
        auto* form = main().findChild<QDialog*>(window);
        if (!form || !form->isVisible())
            return;
        shown = true;
        steps(*form);
        if (form->isVisible())
            form->reject();
    });
    main().findChild<QAction*>(action)->trigger();
    EXPECT_TRUE(shown) << window;
}

void LogbookWindowTest::gridKey(int key, const std::function<void()>& steps)
{
    whileDialogShown(steps);
    QTest::keyClick(main().FixDBGrid1, Qt::Key(key));
}

QWidget* LogbookWindowTest::focused()
{
    return QApplication::focusWidget();
}

void LogbookWindowTest::type(const QString& text)
{
    QTest::keyClicks(focused(), text);
}

void LogbookWindowTest::press(int key)
{
    QTest::keyClick(focused(), Qt::Key(key));
}

TDBEdit* LogbookWindowTest::edit(int number)
{
    return dialog().findChild<TDBEdit*>(QStringLiteral("DBEdit%1").arg(number));
}

QComboBox* LogbookWindowTest::combo(int number)
{
    return dialog().findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(number));
}

QString LogbookWindowTest::totalsBox(int number)
{
    return main().findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(number))->text();
}

} // namespace entrytest
