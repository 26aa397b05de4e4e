// The demo logbook that the README's first command prepares: recalculating
// it gives the totals worked out by hand.
#include "app/grid/fix_db_grid.h"
#include "app/skelvo_windows.h"
#include "core/grid_columns.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"
#include "ui/message_box.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TEST(DemoLogbook, RecalculationGivesTheTotalsWorkedOutByHand)
{
    testsupport::ensureGuiApplication();
    MessageBox::setTestMode(true);
    testsupport::TempFolder folder;
    const QString store = folder.filePath("demo");
    const QString ini = folder.filePath("skelvo.INI");
    ASSERT_EQ(QProcess::execute(SKELVO_DEMO_PROGRAM, {store, SKELVO_SOURCE_DIR "/commands", ini}),
              0);
    // Running it again leaves the logbook and its limits as they are.
    ASSERT_EQ(QProcess::execute(SKELVO_DEMO_PROGRAM, {store, SKELVO_SOURCE_DIR "/commands"}), 0);

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
    // The maintenance figures show one limit near and one well away.
    QStringList states;
    for (const char* name : {"MaintenanceEngineHours", "MaintenancePropellerHours"})
        states.append(windows.mainForm.findChild<QPushButton*>(name)
                          ->property("maintenanceState")
                          .toString());
    EXPECT_EQ(states, (QStringList{"green", "amber"}));

    // At the default column widths dates and clock times show whole.
    TFixDBGrid& grid = *windows.mainForm.FixDBGrid1;
    rows->first();
    for (const char* column : {"yyyy", "mmdd", "outtime", "offtime", "ontime", "intime"}) {
        const auto defaults = GridColumns::defaults();
        const auto found = std::find_if(defaults.begin(), defaults.end(), [&](const auto& c) {
            return c.fieldName == QLatin1StringView(column);
        });
        const QModelIndex cell = grid.model()->index(1, int(found - defaults.begin()));
        QStyleOptionViewItem option;
        option.initFrom(&grid);
        option.rect = grid.visualRect(cell);
        option.text = cell.data().toString();
        option.features = QStyleOptionViewItem::HasDisplay;
        const QRect text =
            grid.style()->subElementRect(QStyle::SE_ItemViewItemText, &option, &grid);
        EXPECT_EQ(grid.fontMetrics().elidedText(option.text, Qt::ElideRight, text.width()),
                  option.text)
            << column;
    }
    windows.mainForm.grab().save(QCoreApplication::applicationDirPath() + "/demo_logbook.png");
    MessageBox::setTestMode(false);
}

} // namespace
