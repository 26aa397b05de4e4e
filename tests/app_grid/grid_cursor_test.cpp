#include "app/grid/record_indicator_header.h"
#include "tests/app_grid/grid_fixture.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace gridtest {
namespace {

using CursorTest = GridTest;

TEST_F(CursorTest, GridLineAndRowSetFollowEachOther)
{
    EXPECT_EQ(currentRow(), 0); // opening leaves the first row current
    clickCell(2, 1);
    EXPECT_EQ(rows_.recNo(), 3);
    EXPECT_EQ(currentColumn(), 1);

    rows_.setRecNo(5);
    EXPECT_EQ(currentRow(), 4);
    EXPECT_EQ(currentColumn(), 1); // a row-set move keeps the column
    rows_.first();
    EXPECT_EQ(currentRow(), 0);

    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(rows_.recNo(), 3);
    key(Qt::Key_Up);
    EXPECT_EQ(rows_.recNo(), 2);
    key(Qt::Key_Right);
    EXPECT_EQ(rows_.recNo(), 2); // a column move is not a row move
    EXPECT_EQ(currentColumn(), 2);
}

TEST_F(CursorTest, DownOnTheLastLineSetsTheEndAndUpOnTheFirstTheStart)
{
    startAt(3, 0);
    key(Qt::Key_Down);
    EXPECT_EQ(rows_.recNo(), 5);
    EXPECT_FALSE(rows_.eof()); // moved onto the last row: not yet at the end
    key(Qt::Key_Down);
    EXPECT_EQ(rows_.recNo(), 5);
    EXPECT_TRUE(rows_.eof());
    EXPECT_EQ(currentRow(), 4);

    startAt(1, 0);
    key(Qt::Key_Up);
    EXPECT_FALSE(rows_.bof());
    key(Qt::Key_Up);
    EXPECT_TRUE(rows_.bof());
    EXPECT_EQ(rows_.recNo(), 1);
}

TEST_F(CursorTest, IndicatorMarksTheCurrentRecordAndPicksRows)
{
    auto* indicator = qobject_cast<RecordIndicatorHeader*>(grid().verticalHeader());
    ASSERT_NE(indicator, nullptr);
    rows_.setRecNo(3);
    EXPECT_EQ(indicator->markerAt(2), "▶");
    EXPECT_EQ(indicator->markerAt(1), "");
    rows_.edit();
    EXPECT_EQ(indicator->markerAt(2), "I");
    rows_.cancel();
    EXPECT_LT(indicator->sizeHint().width(), 40);

    QSignalSpy outside(&grid(), &TFixDBGrid::mouseDownOutsideCells);
    startAt(0, 2);
    QTest::mouseClick(indicator->viewport(), Qt::LeftButton, {},
                      {indicator->width() / 2, indicator->sectionViewportPosition(3) + 3});
    EXPECT_EQ(rows_.recNo(), 4);
    EXPECT_EQ(currentColumn(), 2); // the row is picked, the column kept
    EXPECT_EQ(outside.count(), 0);
}

TEST_F(CursorTest, RemovingTheCurrentRowKeepsGridAndRowSetTogether)
{
    clickCell(2, 1);
    rows_.setFieldFlags(u"ct", {true, true, true});
    rows_.remove();
    EXPECT_EQ(rows_.recordCount(), 4);
    EXPECT_EQ(currentRow(), rows_.recNo() - 1);
    EXPECT_EQ(grid().model()->index(currentRow(), 0).data().toString(), rows_.asString(u"ct"));
    rows_.last();
    rows_.remove();
    EXPECT_EQ(currentRow(), rows_.recNo() - 1);
}

TEST_F(CursorTest, HomeFirstGoesToTheFirstScrollingColumnWithoutTheOwner)
{
    QList<int> seen;
    QObject::connect(&grid(), &TFixDBGrid::keyDown, &grid(),
                     [&](QKeyEvent* event, bool&) { seen.append(event->key()); });
    startAt(2, 2);
    key(Qt::Key_Home);
    EXPECT_EQ(currentColumn(), 0);
    EXPECT_EQ(rows_.recNo(), 3);
    EXPECT_TRUE(seen.isEmpty());

    key(Qt::Key_Home); // already there: now the owner sees it
    EXPECT_EQ(seen, QList<int>{Qt::Key_Home});

    seen.clear();
    startAt(2, 3);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_TRUE(seen.contains(Qt::Key_Home));
    EXPECT_EQ(rows_.recNo(), 1); // not the column rule: the grid's own Ctrl+Home
}

TEST_F(CursorTest, HomeStopsAtTheFrozenColumns)
{
    grid().setFixedCols(3);
    startAt(1, 3);
    key(Qt::Key_Home);
    EXPECT_EQ(currentColumn(), 2);
}

TEST_F(CursorTest, AKeyTheOwnerHandlesDoesNotMoveTheGrid)
{
    QList<int> seen;
    QObject::connect(&grid(), &TFixDBGrid::keyDown, &grid(), [&](QKeyEvent* event, bool& handled) {
        seen.append(event->key());
        handled = event->key() == Qt::Key_Down;
    });
    startAt(1, 1);
    key(Qt::Key_Down);
    EXPECT_EQ(rows_.recNo(), 2);
    key(Qt::Key_Right);
    EXPECT_EQ(currentColumn(), 2);
    EXPECT_EQ(seen, (QList<int>{Qt::Key_Down, Qt::Key_Right}));
}

TEST_F(CursorTest, TypedCharactersGoToTheOwnerAndNeitherEditNorSearch)
{
    QStringList typed;
    QObject::connect(&grid(), &TFixDBGrid::keyPress, &grid(),
                     [&](QKeyEvent* event, bool&) { typed.append(event->text()); });
    startAt(0, 0);
    QTest::keyClicks(&grid(), "4+");
    EXPECT_EQ(typed, (QStringList{"4", "+"}));
    EXPECT_EQ(rows_.recNo(), 1); // no jump to the row whose ct starts with 4
    EXPECT_EQ(grid().editTriggers(), QAbstractItemView::NoEditTriggers);
    key(Qt::Key_F2);
    EXPECT_TRUE(grid().findChildren<QLineEdit*>().isEmpty()); // no cell editor
    EXPECT_FALSE(grid().model()->flags(cell(0, 0)) & Qt::ItemIsEditable);
}

} // namespace
} // namespace gridtest
