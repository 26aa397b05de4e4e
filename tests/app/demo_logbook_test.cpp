// The demo logbook that the README's first command prepares: recalculating
// it gives the totals worked out by hand.
#include "app/skelvo_windows.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"
#include "ui/message_box.h"

#include <QAction>
#include <QLineEdit>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(DemoLogbook, RecalculationGivesTheTotalsWorkedOutByHand)
{
    testsupport::ensureGuiApplication();
    MessageBox::setTestMode(true);
    testsupport::TempFolder folder;
    const QString store = folder.filePath("demo");
    ASSERT_EQ(QProcess::execute(SKELVO_DEMO_PROGRAM, {store, SKELVO_SOURCE_DIR "/commands"}), 0);
    // Running it again leaves the logbook as it is.
    ASSERT_EQ(QProcess::execute(SKELVO_DEMO_PROGRAM, {store, SKELVO_SOURCE_DIR "/commands"}), 0);

    const QString ini = folder.filePath("skelvo.INI");
    MyutyFiles::IniWriteInteger(ini, "Database", "DatabaseKind", ParadoxStore);
    MyutyFiles::IniWriteString(ini, "Database", "DatabaseName", store);
    MyutyFiles::IniWriteString(ini, "Database", "TableName", "JA2401");
    SkelvoWindows windows(ini);
    windows.mainForm.show();
    DataSet* rows = windows.dbSettingForm.store().CurrentDataSet();
    ASSERT_TRUE(rows->isOpen());
    ASSERT_EQ(rows->recordCount(), 7);

    windows.mainForm.findChild<QAction*>("CalcAllAction")->trigger();
    // Flight times 0:50 + 0:45 + 1:46 + 1:39 + 0:30 + 1:10 = 6:40, added to
    // the opening row's 1234:10 / 210:05 (airframe) and 845:30 / 120:40
    // (engine and propeller).
    const char* expected[] = {"1240:50", "216:45", "852:10", "127:20", "852:10", "127:20"};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(
            windows.mainForm.findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(i + 1))->text(),
            expected[i]);
    }
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    MessageBox::setTestMode(false);
}

} // namespace
