// The maintenance limits set through their window and shown beside the
// totals of the open aircraft.
#include "app/grid/fix_db_grid.h"
#include "data/data_set.h"
#include "entry/db_controls.h"
#include "entry/input_form.h"
#include "tests/entry_window/logbook_window.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class MaintenanceWindowTest : public entrytest::LogbookWindowTest
{
protected:
    // Opens the limits window and runs the steps in it while it is shown.
    void setLimits(const std::function<void(QDialog&)>& steps)
    {
        inWindowOf("MaintenanceLimitsAction", "MaintenanceLimitsForm", steps);
    }
    static void typeInto(QDialog& form, const char* box, const QString& text)
    {
        auto* edit = form.findChild<QLineEdit*>(box);
        edit->setFocus(Qt::MouseFocusReason);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    static void ok(QDialog& form)
    {
        QTest::mouseClick(form.findChild<QPushButton*>("OkButton"), Qt::LeftButton);
    }
    // "text state" of each figure shown, in the panel's order.
    QStringList figures()
    {
        QStringList lines;
        for (QPushButton* line : main().findChildren<QPushButton*>()) {
            if (line->objectName().startsWith("Maintenance") && line->isVisibleTo(&main()))
                lines.append(line->text() + " " + line->property("maintenanceState").toString());
        }
        return lines;
    }
};

TEST_F(MaintenanceWindowTest, LimitsSetInTheWindowShowBesideTheTotalsAndFollowTheLog)
{
    start();
    EXPECT_TRUE(figures().isEmpty()); // an older settings file sets no limit
    setLimits([&](QDialog& form) {
        typeInto(form, "EngineHoursEdit", "abc");
        ok(form);
        ASSERT_TRUE(form.isVisible());
        const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].text.contains("「abc」は読めません")) << shown[0].text.toStdString();
        typeInto(form, "EngineHoursEdit", "10");
        typeInto(form, "PropellerHoursEdit", "5");
        typeInto(form, "AirframeInspectionHoursEdit", "10");
        typeInto(form, "AirworthinessYearsEdit", "");
        ok(form);
        EXPECT_FALSE(form.isVisible());
    });
    // Engine overhauled on the opening row at 50:00 with 5:00 since; the
    // propeller and airframe count from the opening row's figures.
    EXPECT_EQ(figures(), (QStringList{"エンジン時間  残り 04:10  (E製造後 55:00) green",
                                      "プロペラ時間  残り 00:10  (P製造後 41:00) amber",
                                      "機体点検  超過 00:50  (製造後 100:00) red"}));

    // A click moves the grid to the row the count started on.
    ASSERT_EQ(rows().recNo(), 2);
    QTest::mouseClick(main().findChild<QPushButton*>("MaintenanceEngineHours"), Qt::LeftButton);
    EXPECT_EQ(rows().recNo(), 1);
    EXPECT_EQ(main().FixDBGrid1->currentIndex().row(), 0);

    // A flight entered (1:30) moves the figures with the totals.
    whileDialogShown([&] {
        edit(8)->setFocus(Qt::MouseFocusReason);
        type("1300");
        edit(9)->setFocus(Qt::MouseFocusReason);
        type("1430");
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
    });
    QTest::keyClicks(main().FixDBGrid1, "+");
    EXPECT_EQ(figures().value(0), "エンジン時間  残り 02:40  (E製造後 55:00) green");
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());

    // Limits belong to their table: closing it empties the panel.
    main().findChild<QAction*>("TableCloseAction")->trigger();
    EXPECT_TRUE(figures().isEmpty());
}

} // namespace
