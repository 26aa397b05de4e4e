#include "app/grid/frozen_column_view.h"
#include "tests/app_grid/grid_fixture.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

namespace gridtest {
namespace {

using FrozenTest = GridTest;

TEST_F(FrozenTest, OneMeansOnlyTheIndicatorIsFixed)
{
    EXPECT_EQ(grid().FixedCols(), 1);
    EXPECT_TRUE(grid().frozenColumns().isEmpty());
    EXPECT_FALSE(frozenView()->isVisible());
}

TEST_F(FrozenTest, FrozenColumnStaysInPlaceWhileTheOthersScroll)
{
    grid().setFixedCols(2);
    EXPECT_EQ(grid().FixedCols(), 2);
    EXPECT_EQ(grid().frozenColumns(), QList<int>{0});
    ASSERT_TRUE(frozenView()->isVisible());
    const QRect frozenAt = frozenView()->geometry();
    EXPECT_EQ(frozenAt.x(), grid().viewport()->x());
    EXPECT_EQ(frozenAt.width(), 100);

    startAt(0, 1);
    key(Qt::Key_End); // the last column, off to the right
    EXPECT_EQ(currentColumn(), 3);
    EXPECT_GT(grid().horizontalScrollBar()->value(), 0);
    EXPECT_EQ(frozenView()->geometry(), frozenAt);
    // The cursor's cell is not hidden behind the frozen column.
    EXPECT_GE(grid().columnViewportPosition(3), 100);

    key(Qt::Key_Home);
    EXPECT_EQ(currentColumn(), 1);
    EXPECT_GE(grid().columnViewportPosition(1), 100);
}

TEST_F(FrozenTest, FrozenColumnsCannotBeSelected)
{
    grid().setFixedCols(2);
    startAt(0, 1);
    key(Qt::Key_Left);
    EXPECT_EQ(currentColumn(), 1);

    // A press on a frozen cell picks the row only.
    FrozenColumnView* frozen = frozenView();
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {},
                      frozen->visualRect(cell(3, 0)).center());
    EXPECT_EQ(rows_.recNo(), 4);
    EXPECT_EQ(currentColumn(), 1);

    // Tab skips them, both ways.
    startAt(1, 3);
    key(Qt::Key_Tab);
    EXPECT_EQ(currentRow(), 2);
    EXPECT_EQ(currentColumn(), 1);
    key(Qt::Key_Backtab);
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(currentColumn(), 3);
}

TEST_F(FrozenTest, FreezingMovesTheCursorOffTheFrozenColumns)
{
    startAt(2, 0);
    grid().setFixedCols(3);
    EXPECT_EQ(currentColumn(), 2);
    EXPECT_EQ(rows_.recNo(), 3);
}

TEST_F(FrozenTest, CountIsClampedSoOneColumnScrolls)
{
    grid().setFixedCols(10);
    EXPECT_EQ(grid().FixedCols(), 4); // indicator and three of the four columns
    EXPECT_EQ(grid().frozenColumns(), (QList<int>{0, 1, 2}));

    grid().horizontalHeader()->setSectionHidden(1, true);
    grid().setFixedCols(9);
    EXPECT_EQ(grid().FixedCols(), 3);
    EXPECT_EQ(grid().frozenColumns(), (QList<int>{0, 2}));
}

TEST_F(FrozenTest, FrozenColumnsFollowTheDisplayOrder)
{
    grid().setFixedCols(2);
    QHeaderView* titles = grid().horizontalHeader();
    titles->moveSection(2, 0); // "place" to the front
    EXPECT_EQ(grid().frozenColumns(), QList<int>{2});
    EXPECT_EQ(frozenView()->horizontalHeader()->isSectionHidden(0), true);
    EXPECT_EQ(frozenView()->horizontalHeader()->isSectionHidden(2), false);
}

TEST_F(FrozenTest, ClosedRowsFreezeNothingUntilOpenedAgain)
{
    grid().setFixedCols(3);
    rows_.close();
    EXPECT_TRUE(grid().frozenColumns().isEmpty());
    EXPECT_FALSE(frozenView()->isVisible());
    rows_.open();
    EXPECT_EQ(grid().frozenColumns(), (QList<int>{0, 1}));
    EXPECT_EQ(currentColumn(), 2);
}

TEST_F(FrozenTest, SelectableFrozenColumnsUnfreezeAndFreezeAgain)
{
    grid().setFixedColsEdit(true);
    grid().setFixedCols(3);
    FrozenColumnView* frozen = frozenView();
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {},
                      frozen->visualRect(cell(1, 0)).center());
    EXPECT_EQ(grid().FixedCols(), 1);
    EXPECT_EQ(currentColumn(), 0);
    EXPECT_EQ(rows_.recNo(), 2);

    key(Qt::Key_Right); // grid column 2: the first data column freezes
    EXPECT_EQ(grid().FixedCols(), 2);
    EXPECT_EQ(currentColumn(), 1);

    clickCell(1, 3); // past the requested area: frozen as asked again
    EXPECT_EQ(grid().FixedCols(), 3);
    EXPECT_EQ(grid().frozenColumns(), (QList<int>{0, 1}));
}

} // namespace
} // namespace gridtest
