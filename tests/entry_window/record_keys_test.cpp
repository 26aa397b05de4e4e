// The grid's record keys, mouse and navigator: which routine each starts,
// what reaches the table, and that the status bar follows.
#include "app/grid/fix_db_grid.h"
#include "data/data_set.h"
#include "entry/db_controls.h"
#include "tests/entry_window/logbook_window.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

class RecordKeysTest : public entrytest::LogbookWindowTest
{
protected:
    // The state of the row the dialog was shown for, or Inactive.
    DataSet::State keyOpens(int key)
    {
        DataSet::State shownFor = DataSet::State::Inactive;
        gridKey(key, [&] { shownFor = rows().state(); });
        return shownFor;
    }
    void save(const QString& crew)
    {
        combo(1)->setFocus(Qt::MouseFocusReason);
        combo(1)->setEditText(crew);
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
    }
    QString recordPanel() { return main().statusBar()->findChildren<QLabel*>().at(1)->text(); }
};

TEST_F(RecordKeysTest, EnterAndDownAppendAtTheEndAndEnterEditsElsewhere)
{
    start();
    EXPECT_EQ(keyOpens(Qt::Key_Return), DataSet::State::Insert); // just opened: at the end
    QTest::keyClick(main().FixDBGrid1, Qt::Key_End);
    EXPECT_EQ(keyOpens(Qt::Key_Down), DataSet::State::Insert);
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Up);
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Down);
    EXPECT_EQ(rows().recNo(), 2);
    EXPECT_EQ(keyOpens(Qt::Key_Return), DataSet::State::Edit);   // on the last row, not past it
    EXPECT_EQ(keyOpens(Qt::Key_Down), DataSet::State::Inactive); // tries to move past it
    EXPECT_EQ(keyOpens(Qt::Key_Down), DataSet::State::Insert);
    EXPECT_EQ(stored("ct").size(), 2); // every dialog was cancelled
    EXPECT_EQ(recordPanel(), "Record:2/2");
}

TEST_F(RecordKeysTest, PlusAppendsFromAnyRowAndTheTotalsFollow)
{
    start();
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
    whileDialogShown([&] {
        edit(8)->setFocus(Qt::MouseFocusReason);
        type("1300");
        edit(9)->setFocus(Qt::MouseFocusReason);
        type("1430");
        save("ITO");
    });
    QTest::keyClicks(main().FixDBGrid1, "+");
    EXPECT_EQ(stored("crew"), (QStringList{"1,0 ", "2,0 YAMADA", "3,0 ITO"}));
    EXPECT_EQ(stored("yyyy").last(), "3,0 2026"); // the last row's date
    EXPECT_EQ(stored("mmdd").last(), "3,0 1201");
    EXPECT_EQ(stored("depart").last(), "3,0 RJAA");
    EXPECT_EQ(totalsBox(1), "102:20");
    EXPECT_EQ(totalsBox(6), "06:20");
    EXPECT_EQ(recordPanel(), "Record:3/3");
}

TEST_F(RecordKeysTest, InsertPutsTheFlightBeforeTheCurrentRow)
{
    start();
    gridKey(Qt::Key_Insert, [&] { save("KATO"); });
    EXPECT_EQ(stored("crew"), (QStringList{"1,0 ", "1,1 KATO", "2,0 YAMADA"}));
    EXPECT_EQ(rows().recNo(), 2);
    EXPECT_EQ(rows().asString(u"crew"), "KATO");
    // Inserting again in front of the inserted row keeps both in place.
    gridKey(Qt::Key_Insert, [&] { save("MORI"); });
    EXPECT_EQ(stored("crew"), (QStringList{"1,0 ", "1,1 MORI", "1,2 KATO", "2,0 YAMADA"}));
}

TEST_F(RecordKeysTest, DeleteKeyProtectsTheOpeningRowAndAsksForOthers)
{
    start();
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Delete);
    auto shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, MessageBox::Kind::Warning);
    EXPECT_EQ(shown[0].text, "このデータは削除できません");

    QTest::keyClick(main().FixDBGrid1, Qt::Key_End);
    MessageBox::answerNext(false);
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Delete);
    EXPECT_EQ(stored("ct").size(), 2);
    MessageBox::answerNext(true);
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Delete);
    EXPECT_EQ(stored("ct"), QStringList{"1,0 1"});
    EXPECT_EQ(recordPanel(), "Record:1/1");
}

TEST_F(RecordKeysTest, NavigatorDeletesAnyRowAndRecalculatesEvenWhenCancelled)
{
    start();
    main().findChild<QAction*>("CalcStartAction")->trigger();
    MessageBox::answerNext(false);
    main().findChild<QAction*>("DBNavigator1Button5")->trigger();
    EXPECT_EQ(main().Part.PartStart, 0); // marks cleared all the same
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
    MessageBox::answerNext(true);
    main().findChild<QAction*>("DBNavigator1Button5")->trigger();
    EXPECT_EQ(stored("crew"), QStringList{"2,0 YAMADA"});
}

TEST_F(RecordKeysTest, DoubleClickAndNavigatorEditTheCurrentRow)
{
    start();
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Home);
    DataSet::State shownFor = DataSet::State::Inactive;
    whileDialogShown([&] { shownFor = rows().state(); });
    QTest::mouseDClick(
        main().FixDBGrid1->viewport(), Qt::LeftButton, {},
        main().FixDBGrid1->visualRect(main().FixDBGrid1->model()->index(0, 3)).center());
    EXPECT_EQ(shownFor, DataSet::State::Edit);
    whileDialogShown([&] { save("OGAWA"); });
    main().findChild<QAction*>("DBNavigator1Button6")->trigger();
    EXPECT_EQ(stored("crew").first(), "1,0 "); // the opening row's box fills nothing
    whileDialogShown([&] { save("OGAWA"); });
    main().findChild<QAction*>("DBNavigator1Button4")->trigger(); // insert, not at the end
    EXPECT_EQ(stored("crew").at(1), "1,1 OGAWA");
}

// The folder store refuses a text holding NUL; the dialog stays open with it
// and the grid never keeps a row the table does not hold.
TEST_F(RecordKeysTest, ARefusedSaveKeepsTheDialogOpenAndTheGridTrueToTheTable)
{
    start();
    const QString refusedCrew = QStringLiteral("KA") + QChar(u'\0') + QStringLiteral("TO");
    const auto refuse = [&] {
        combo(1)->setFocus(Qt::MouseFocusReason);
        combo(1)->setEditText(refusedCrew);
        edit(1)->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
        EXPECT_TRUE(dialog().isVisible());
        EXPECT_EQ(combo(1)->currentText(), refusedCrew); // as typed, to be corrected
        EXPECT_NE(rows().state(), DataSet::State::Browse);
        const auto shown = MessageBox::takeRecorded();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].text.contains("crew")) << shown[0].text.toStdString();
    };

    // Cancelled after the refusal: no row is left behind, nothing repeats.
    gridKey(Qt::Key_Return, [&] {
        refuse();
        QTest::mouseClick(dialog().Button2, Qt::LeftButton);
    });
    EXPECT_EQ(rows().recordCount(), 2);
    EXPECT_EQ(rows().state(), DataSet::State::Browse);
    QTest::keyClick(main().FixDBGrid1, Qt::Key_Up);
    main().DataRefreshActionExecute();
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());

    // An edit cancelled after the refusal shows what the table holds.
    QTest::keyClick(main().FixDBGrid1, Qt::Key_End);
    gridKey(Qt::Key_Return, [&] {
        refuse();
        QTest::keyClick(focused(), Qt::Key_Escape);
    });
    EXPECT_EQ(rows().asString(u"crew"), "YAMADA");
    EXPECT_EQ(rows().asString(u"yyyy"), "2026");

    // Corrected and saved again: the flight is written once.
    whileDialogShown([&] {
        refuse();
        combo(1)->setFocus(Qt::MouseFocusReason);
        combo(1)->setEditText("KATO");
        edit(1)->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(dialog().Button1, Qt::LeftButton);
        EXPECT_FALSE(dialog().isVisible());
    });
    QTest::keyClicks(main().FixDBGrid1, "+");
    EXPECT_EQ(stored("crew"), (QStringList{"1,0 ", "2,0 YAMADA", "3,0 KATO"}));
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

TEST_F(RecordKeysTest, WithoutAnOpenTableTheKeysDoNothingAndSayNothing)
{
    setting("Database", "TableName", "");
    windows_ = std::make_unique<SkelvoWindows>(ini_);
    main().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main()));
    for (int key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Plus}) {
        whileDialogShown({});
        QTest::keyClick(main().FixDBGrid1, Qt::Key(key));
        EXPECT_FALSE(dialogWasShown_) << key;
    }
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
}

} // namespace
