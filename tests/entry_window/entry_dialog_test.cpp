// The entry dialog driven by name through the real windows: a flight typed
// the way a pilot types it, the keys that move through the boxes, the
// overhaul pairs, the opening row and the history lists.
#include "app/grid/fix_db_grid.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "db/table_management.h"
#include "entry/db_controls.h"
#include "paradox/paradox_sql.h"
#include "tests/entry_window/logbook_window.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {

using entrytest::LogbookWindowTest;

class EntryDialogTest : public LogbookWindowTest
{
};

TEST_F(EntryDialogTest, AFlightTypedAsOnPaperIsSavedWithItsTimesAndTotals)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        EXPECT_EQ(focused(), edit(1));
        EXPECT_EQ(edit(1)->text(), "2026");
        EXPECT_EQ(edit(2)->text(), "1201");
        EXPECT_EQ(combo(3)->currentText(), "RJAA"); // the last arrival is the departure
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        type("Suzuki");
        press(Qt::Key_Return);
        type("training");
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        type("rjtt");
        press(Qt::Key_Return);
        const char* times[] = {"1010", "1015", "1105", "1110"};
        for (const char* time : times) {
            type(time);
            press(Qt::Key_Return);
        }
        EXPECT_EQ(edit(8)->text(), "10:15");
        EXPECT_EQ(dialog().findChild<QLabel*>("DBText2")->text(), "00:50");
        EXPECT_EQ(dialog().findChild<QLabel*>("DBText1")->text(), "01:00");
        EXPECT_EQ(focused(), combo(5));
        type("smooth");
        QCoreApplication::processEvents();
        dialog().grab().save(QCoreApplication::applicationDirPath() + "/entry_dialog.png");
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
    });
    EXPECT_FALSE(dialog().isVisible());
    EXPECT_EQ(stored("crew").last(), "3,0 Suzuki");
    EXPECT_EQ(stored("intention").last(), "3,0 training");
    EXPECT_EQ(stored("callsign").last(), "3,0 JA2401");
    EXPECT_EQ(stored("flighttime").last(), "3,0 00:50");
    EXPECT_EQ(stored("e_flighttime").last(), "3,0 00:50");
    EXPECT_EQ(stored("blocktime").last(), "3,0 01:00");
    EXPECT_EQ(stored("sincema").last(), "3,0 101:40");
    EXPECT_EQ(totalsBox(1), "101:40");
    EXPECT_EQ(totalsBox(4), "06:40");
    EXPECT_EQ(rows().recNo(), 3);
}

TEST_F(EntryDialogTest, AutomaticStartAndStopDeriveTheEngineTimesAndSteerEnter)
{
    setting("Preference", "AutoBlockTime", "1");
    start();
    gridKey(Qt::Key_Return, [&] {
        combo(4)->setFocus(Qt::MouseFocusReason);
        type("RJTF");
        press(Qt::Key_Tab); // engine start is derived, so Tab skips it
        EXPECT_EQ(focused(), edit(8));
        combo(4)->setFocus(Qt::MouseFocusReason);
        press(Qt::Key_Return);
        EXPECT_EQ(focused(), edit(8));
        type("1015");
        press(Qt::Key_Return);
        EXPECT_EQ(edit(7)->text(), "10:10");
        EXPECT_EQ(focused(), edit(9));
        type("1105");
        press(Qt::Key_Return);
        EXPECT_EQ(focused(), combo(5)); // landing jumps to the remarks
        EXPECT_EQ(edit(10)->text(), "11:10");
        EXPECT_EQ(rows().asString(u"blocktime"), "01:00");
        EXPECT_EQ(rows().asString(u"p_flighttime"), "00:50");
        press(Qt::Key_Up);
        EXPECT_EQ(focused(), edit(9));
    });
    EXPECT_EQ(stored("blocktime").size(), 2); // cancelled: nothing written
}

TEST_F(EntryDialogTest, HomeFillsOnlyThePlaceBoxesAndUpperCaseModeConverts)
{
    setting("Preference", "Home", "RJTF");
    setting("Preference", "UseCapsLock", "1");
    start();
    gridKey(Qt::Key_Return, [&] {
        combo(1)->setFocus(Qt::MouseFocusReason);
        type("ab");
        press(Qt::Key_Home);
        EXPECT_EQ(combo(1)->currentText(), "ab");
        combo(4)->setFocus(Qt::MouseFocusReason);
        press(Qt::Key_Home);
        EXPECT_EQ(combo(4)->currentText(), "RJTF");
        combo(2)->setFocus(Qt::MouseFocusReason);
        // Places and times take Latin letters: no input method there.
        EXPECT_FALSE(combo(2)->testAttribute(Qt::WA_InputMethodEnabled));
        EXPECT_FALSE(edit(7)->testAttribute(Qt::WA_InputMethodEnabled));
        EXPECT_TRUE(combo(1)->testAttribute(Qt::WA_InputMethodEnabled));
        type("x-c");
        EXPECT_EQ(combo(2)->currentText(), "X-C");
        EXPECT_TRUE(dialog().CapsLockOnAction->isChecked());
        dialog().CapsLockOffAction->trigger();
        type("y");
        EXPECT_EQ(combo(2)->currentText(), "X-Cy");
    });
    // The choice made in the dialog is the preference the main window keeps.
    EXPECT_FALSE(main().preferences.UseCapsLock);
}

TEST_F(EntryDialogTest, OverhaulBoxesOpenAndCloseTheirTotals)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        EXPECT_FALSE(edit(14)->isEnabled());
        QTest::mouseClick(dialog().findChild<QCheckBox*>("CheckBox2"), Qt::LeftButton);
        EXPECT_TRUE(edit(14)->isEnabled());
        EXPECT_TRUE(edit(15)->isEnabled());
        EXPECT_EQ(focused(), edit(14));
        type("60");
        press(Qt::Key_Tab);
        EXPECT_EQ(edit(14)->text(), "00:60");
        type("7");
        press(Qt::Key_Tab); // the since-overhaul totals are rewritten too
        EXPECT_EQ(edit(15)->text(), "00:07");
        QTest::mouseClick(dialog().findChild<QCheckBox*>("CheckBox2"), Qt::LeftButton);
        EXPECT_FALSE(edit(14)->isEnabled());
        EXPECT_FALSE(edit(12)->isEnabled());
    });
}

TEST_F(EntryDialogTest, PageNumbersTakeWholeNumbersAndRefuseOtherText)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        edit(5)->setFocus(Qt::MouseFocusReason);
        type("x");
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
        EXPECT_TRUE(dialog().isVisible()); // refused: the entry stays open
        const auto shown = MessageBox::takeRecorded();
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_TRUE(shown.last().text.contains("e_pageno"));
        edit(5)->setFocus(Qt::MouseFocusReason);
        edit(5)->selectAll();
        type("12");
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
        EXPECT_FALSE(dialog().isVisible());
    });
    EXPECT_EQ(stored("e_pageno").last(), "3,0 12");
    EXPECT_EQ(stored("pageno").last(), "3,0 "); // left empty: no page number
}

TEST_F(EntryDialogTest, TheOpeningRowTakesTotalsAndItsOwnFlagsButNoHistory)
{
    start();
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
    ASSERT_EQ(rows().recNo(), 1);
    gridKey(Qt::Key_Return, [&] {
        for (int number : {7, 8, 9, 10})
            EXPECT_FALSE(edit(number)->isEnabled()) << number;
        for (int number = 12; number <= 17; ++number)
            EXPECT_TRUE(edit(number)->isEnabled()) << number;
        EXPECT_TRUE(dialog().findChild<QCheckBox*>("CheckBox2")->isChecked());
        EXPECT_FALSE(dialog().findChild<QCheckBox*>("CheckBox1")->isChecked());
        combo(1)->setFocus(Qt::MouseFocusReason);
        type("NEW CREW");
        edit(12)->setFocus(Qt::MouseFocusReason);
        edit(12)->selectAll();
        EXPECT_EQ(combo(1)->count(), 0);
        type("1234");
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
    });
    EXPECT_EQ(stored("crew").first(), "1,0 ");
    EXPECT_EQ(stored("e_ovh").first(), "1,0 1");
    EXPECT_EQ(stored("callsign").first(), "1,0 JA2401");
    EXPECT_EQ(stored("printed").first(), "1,0 0"); // to be printed again
    EXPECT_EQ(stored("p_printed").first(), "1,0 0");
    EXPECT_EQ(stored("sincema").first(), "1,0 12:34");
    EXPECT_EQ(stored("sincema").last(), "2,0 13:24"); // recalculated from the new start
}

TEST_F(EntryDialogTest, HistoryListsDropDownCompleteForgetAndSurviveCancel)
{
    setting("Assist", "crew0", "Sato");
    setting("Assist", "crew1", "Suzuki");
    setting("Assist", "crew2", "Tanaka");
    start();
    gridKey(Qt::Key_Return, [&] {
        edit(2)->setFocus(Qt::MouseFocusReason);
        press(Qt::Key_Return);
        EXPECT_TRUE(combo(1)->view()->isVisible()); // an empty box shows its list
        type("su");                                 // typing goes on in the box
        EXPECT_EQ(combo(1)->currentText(), "suzuki");
        EXPECT_EQ(combo(1)->lineEdit()->selectedText(), "zuki");

        combo(1)->setEditText("sato");
        combo(1)->showPopup();
        combo(1)->view()->setCurrentIndex(combo(1)->model()->index(2, 0));
        const QString shown = combo(1)->currentText();
        QTest::keyClick(combo(1)->view(), Qt::Key_Delete);
        EXPECT_EQ(combo(1)->count(), 2);
        EXPECT_EQ(combo(1)->currentText(), shown);
        combo(1)->hidePopup();
        combo(1)->setEditText("SATO");

        combo(5)->setFocus(Qt::MouseFocusReason); // leaving the crew box
        EXPECT_EQ(combo(1)->itemText(0), "SATO"); // as typed, at the top
        EXPECT_EQ(rows().asString(u"crew"), "SATO");
    });
    EXPECT_EQ(stored("crew").size(), 2); // cancelled: no row
    QStringList kept;
    MyutyFiles::ReadHistoryList(ini_, "Assist", "crew", kept);
    EXPECT_EQ(kept, (QStringList{"SATO", "Suzuki"}));
}

// A table of an older make whose crew and date fields are shorter.
class ShortFieldsTest : public LogbookWindowTest
{
protected:
    // Types character by character, Japanese text included.
    void typeEach(const QString& text)
    {
        for (QChar character : text)
            QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
    }
    QString fillStore() override
    {
        QString command = TableManagement::prepareCommand(
            TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"),
            "ja2401");
        command.replace(QRegularExpression("crew +CHAR\\(255\\)"), "crew CHAR(10)");
        command.replace(QRegularExpression("yyyy +CHAR\\(8\\)"), "yyyy CHAR(4)");
        paradox::SqlEngine engine(store_);
        engine.execute(command);
        engine.execute("INSERT INTO ja2401 (ct, sb, yyyy, mmdd) VALUES (1, 0, '2026', '0101')");
        return QStringLiteral("ja2401");
    }
};

TEST_F(ShortFieldsTest, BoxesTakeNoMoreThanTheirFieldsHoldInCodePage932Bytes)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        type("20261"); // the date box, focused first
        EXPECT_EQ(edit(1)->text(), "2026");
        combo(1)->setFocus(Qt::MouseFocusReason);
        combo(1)->setEditText({});
        typeEach("山田太郎さん"); // two bytes each
        EXPECT_EQ(combo(1)->currentText(), "山田太郎さ");
        combo(1)->setEditText({});
        typeEach("ﾔﾏﾀﾞ TAROSAN");
        EXPECT_EQ(combo(1)->currentText(), "ﾔﾏﾀﾞ TAROS");
        combo(2)->setFocus(Qt::MouseFocusReason); // no shorter than the usual 255
        type(QString(300, u'x'));
        EXPECT_EQ(combo(2)->currentText().size(), 255);
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
    });
    EXPECT_EQ(stored("crew").last(), "2,0 ﾔﾏﾀﾞ TAROS");
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

} // namespace
