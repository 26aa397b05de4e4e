// The entry dialog used the way pilots use it: boxes re-entered and typed
// over, impossible times and dates refused, times out of order questioned,
// and every leave of a clock-time box held to its rule in the real dialog.
#include "app/grid/fix_db_grid.h"
#include "data/data_set.h"
#include "entry/db_controls.h"
#include "tests/entry/leave_cases.h"
#include "tests/entry_window/logbook_window.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class EntryChecksTest : public entrytest::LogbookWindowTest
{
protected:
    // The flight of the logbook (its second row), opened for correcting.
    void editFlight(const std::function<void()>& steps)
    {
        QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
        QTest::keyClick(main().FixDBGrid1, Qt::Key_Down);
        ASSERT_EQ(rows().recNo(), 2);
        gridKey(Qt::Key_Return, steps);
    }
    // Saves and gives what the boxes shown meanwhile said.
    QList<MessageBox::Recorded> save()
    {
        MessageBox::takeRecorded();
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
        return MessageBox::takeRecorded();
    }
    QString shownText(const char* name) { return dialog().findChild<QLabel*>(name)->text(); }
};

TEST_F(EntryChecksTest, EnteringABoxSelectsItsTextSoTypingReplacesIt)
{
    start();
    editFlight([&] {
        EXPECT_EQ(dialog().windowTitle(), "航空日誌入力 - JA2401 (修正)");
        for (int i = 0; i < 8; ++i)
            press(Qt::Key_Return);
        ASSERT_EQ(focused(), edit(9));
        type("1040");
        EXPECT_EQ(edit(9)->text(), "1040");
        press(Qt::Key_Tab);
        EXPECT_EQ(shownText("DBText2"), "01:30");
        type("1045");
        press(Qt::Key_Up);
        press(Qt::Key_Up);
        type("920");
        EXPECT_EQ(edit(8)->text(), "920");
        QTest::mouseClick(edit(7), Qt::LeftButton);
        type("905");
        EXPECT_EQ(edit(7)->text(), "905");
        QTest::mouseClick(combo(3)->lineEdit(), Qt::LeftButton);
        type("RJTF");
        press(Qt::Key_Tab);
        type("RJSS");
        EXPECT_EQ(combo(4)->currentText(), "RJSS");
        EXPECT_TRUE(save().isEmpty());
    });
    EXPECT_EQ(stored("outtime").last(), "2,0 09:05");
    EXPECT_EQ(stored("offtime").last(), "2,0 09:20");
    EXPECT_EQ(stored("ontime").last(), "2,0 10:40");
    EXPECT_EQ(stored("intime").last(), "2,0 10:45");
    EXPECT_EQ(stored("flighttime").last(), "2,0 01:20");
    EXPECT_EQ(stored("depart").last(), "2,0 RJTF");
    EXPECT_EQ(stored("arrive").last(), "2,0 RJSS");
}

TEST_F(EntryChecksTest, ImpossibleTimesAndDatesAreRefusedNamingTheBox)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        EXPECT_EQ(dialog().windowTitle(), "航空日誌入力 - JA2401 (新しい飛行)");
        edit(8)->setFocus(Qt::MouseFocusReason);
        type("2561");
        MessageBox::takeRecorded();
        press(Qt::Key_Return);
        auto shown = MessageBox::takeRecorded();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].text.contains("「離陸」の「2561」")) << shown[0].text.toStdString();
        EXPECT_EQ(focused(), edit(8)); // back in the box, its text selected
        type("1015");
        press(Qt::Key_Return);
        EXPECT_EQ(focused(), edit(9));
        type("1105");
        edit(10)->setFocus(Qt::MouseFocusReason);
        type("2400");
        shown = save(); // refused once, by leaving the box
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].text.contains("「停止」の「2400」")) << shown[0].text.toStdString();
        type("1110");

        const struct
        {
            const char* year;
            const char* monthDay;
            int refusedBox; // 0: saved
            const char* named;
        } dates[] = {
            {"2026", "0230", 2, "「月日」の「0230」"},
            {"2026", "0229", 2, "「月日」の「0229」"},
            {"", "0229", 1, "「年」"},
            {"2026", "", 2, "「月日」"},
            {"2024", "0229", 0, ""},
        };
        for (const auto& date : dates) {
            SCOPED_TRACE(std::string(date.year) + "/" + date.monthDay);
            edit(1)->setFieldText(date.year);
            edit(2)->setFieldText(date.monthDay);
            shown = save();
            EXPECT_EQ(dialog().isVisible(), date.refusedBox != 0);
            if (date.refusedBox == 0)
                break;
            ASSERT_EQ(shown.size(), 1);
            EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(date.named)))
                << shown[0].text.toStdString();
            EXPECT_EQ(focused(), edit(date.refusedBox));
        }
    });
    EXPECT_EQ(stored("mmdd").last(), "3,0 0229");
    EXPECT_EQ(stored("intime").last(), "3,0 11:10");
    EXPECT_EQ(stored("blocktime").last(), "3,0 ");
}

TEST_F(EntryChecksTest, UnreadableTotalsAreRefusedNotEmptied)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        QTest::mouseClick(dialog().findChild<QCheckBox*>("CheckBox2"), Qt::LeftButton);
        ASSERT_EQ(focused(), edit(14));
        type("12:3");
        MessageBox::takeRecorded();
        press(Qt::Key_Tab);
        const auto shown = MessageBox::takeRecorded();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].text.contains("「エンジン時間 製造後」の「12:3」"))
            << shown[0].text.toStdString();
        EXPECT_EQ(focused(), edit(14));
        EXPECT_EQ(edit(14)->text(), "12:3");
    });
}

TEST_F(EntryChecksTest, TheOpeningRowIsHeldToTheDateRule)
{
    start();
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
    gridKey(Qt::Key_Return, [&] {
        edit(2)->setFieldText("1301");
        EXPECT_EQ(save().size(), 1);
        EXPECT_TRUE(dialog().isVisible());
    });
    EXPECT_EQ(stored("mmdd").first(), "1,0 0101");
}

TEST_F(EntryChecksTest, TimesOutOfOrderAreQuestionedOnceAndSavedOnlyIfConfirmed)
{
    start();
    gridKey(Qt::Key_Return, [&] {
        edit(8)->setFocus(Qt::MouseFocusReason);
        type("1040");
        press(Qt::Key_Return);
        type("1015");
        MessageBox::answerNext(false);
        auto shown = save();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].kind, MessageBox::Kind::Question);
        EXPECT_FALSE(shown[0].defaultIsYes);
        EXPECT_TRUE(shown[0].text.contains("離陸 10:40 が 着陸 10:15"))
            << shown[0].text.toStdString();
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(focused(), edit(8)); // the first box out of order
        MessageBox::answerNext(true);
        EXPECT_EQ(save().size(), 1);
        EXPECT_FALSE(dialog().isVisible());
    });
    // Confirmed as a flight across midnight: its real length, never a
    // negative time that would take an hour off every later total.
    EXPECT_EQ(stored("offtime").last(), "3,0 10:40");
    EXPECT_EQ(stored("ontime").last(), "3,0 10:15");
    EXPECT_EQ(stored("flighttime").last(), "3,0 23:35");
}

TEST_F(EntryChecksTest, ABlankBoxAddsNothingToItsList)
{
    setting("Assist", "crew0", "Sato");
    start();
    gridKey(Qt::Key_Return, [&] {
        combo(1)->setFocus(Qt::MouseFocusReason);
        combo(1)->hidePopup();
        edit(7)->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(combo(1)->count(), 1);
        EXPECT_EQ(combo(1)->itemText(0), "Sato");
    });
}

TEST_F(EntryChecksTest, EveryLeaveSetsWhatItsRuleSetsAndNothingElse)
{
    const QString untouched = QStringLiteral("99:99");
    start();
    for (const entrytest::LeaveCase& c : entrytest::leaveCases()) {
        SCOPED_TRACE(c.name);
        main().preferences.AutoBlockTime = c.autoStartStop;
        gridKey(Qt::Key_Return, [&] {
            for (QStringView column :
                 {u"blocktime", u"flighttime", u"e_flighttime", u"p_flighttime"})
                rows().setValue(column, untouched);
            const auto before = c.before.inOrder();
            for (int i = 0; i < ClockTimes::BoxCount; ++i) {
                edit(7 + i)->setText(before[i]);
                edit(7 + i)->setModified(true);
            }
            edit(7 + int(c.left))->setFocus(Qt::MouseFocusReason);
            combo(5)->setFocus(Qt::MouseFocusReason);
            const auto after = c.after.inOrder();
            for (int i = 0; i < ClockTimes::BoxCount; ++i)
                EXPECT_EQ(edit(7 + i)->text(), after[i]) << "DBEdit" << 7 + i;
            const QString block = c.blocktime ? c.blocktime : untouched;
            const QString flight = c.flighttime ? c.flighttime : untouched;
            EXPECT_EQ(shownText("DBText1"), block);
            EXPECT_EQ(shownText("DBText2"), flight);
            EXPECT_EQ(rows().asString(u"e_flighttime"), flight);
            EXPECT_EQ(rows().asString(u"p_flighttime"), flight);
        });
    }
}

} // namespace
