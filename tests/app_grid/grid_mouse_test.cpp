#include "app/grid/title_clicks.h"
#include "tests/app_grid/grid_fixture.h"

#include <QApplication>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace gridtest {
namespace {

using MouseTest = GridTest;

TEST_F(MouseTest, ATitleClickIsReportedOnlyAfterTheDoubleClickTime)
{
    QSignalSpy clicks(&grid(), &TFixDBGrid::titleClicked);
    QSignalSpy doubles(&grid(), &TFixDBGrid::OnTitleDblClick);
    QSignalSpy outside(&grid(), &TFixDBGrid::mouseDownOutsideCells);
    startAt(2, 1);
    clickTitle(1);
    EXPECT_EQ(clicks.count(), 0); // still waiting, without blocking
    EXPECT_EQ(outside.count(), 1);
    QTRY_COMPARE(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1);
    EXPECT_EQ(doubles.count(), 0);
    // A title press neither selects the column nor moves the cursor.
    EXPECT_EQ(rows_.recNo(), 3);
    EXPECT_EQ(currentColumn(), 1);
    EXPECT_FALSE(grid().selectionModel()->isSelected(cell(0, 1)));
}

TEST_F(MouseTest, ASecondClickWithinTheTimeIsATitleDoubleClick)
{
    QSignalSpy clicks(&grid(), &TFixDBGrid::titleClicked);
    QSignalSpy doubles(&grid(), &TFixDBGrid::OnTitleDblClick);
    clickTitle(2);
    clickTitle(2);
    ASSERT_EQ(doubles.count(), 1);
    EXPECT_EQ(doubles.at(0).at(0).toInt(), 2);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(doubles.count(), 1);

    clickTitle(3); // the next click stands on its own again
    QTRY_COMPARE(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 3);
}

TEST(TitleClicksTest, ADoubleClickMessageCompletesThePendingClick)
{
    TitleClicks titles;
    QSignalSpy clicks(&titles, &TitleClicks::clicked);
    QSignalSpy doubles(&titles, &TitleClicks::doubleClicked);
    titles.buttonMessage();
    titles.sectionClicked(4);
    EXPECT_TRUE(titles.waiting());
    titles.buttonMessage(); // the platform's double-click message: no click follows
    EXPECT_FALSE(titles.waiting());
    EXPECT_EQ(doubles.count(), 1);
    titles.buttonMessage(); // a fresh press forgets the click it was to swallow
    titles.sectionClicked(5);
    EXPECT_TRUE(titles.waiting());
    QTRY_COMPARE(clicks.count(), 1);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 5);
}

TEST_F(MouseTest, PressesOutsideTheCellsAreReported)
{
    QSignalSpy outside(&grid(), &TFixDBGrid::mouseDownOutsideCells);
    const QPoint belowLastLine(20, grid().rowViewportPosition(4) + grid().rowHeight(4) + 5);
    ASSERT_LT(belowLastLine.y(), grid().viewport()->height());
    startAt(1, 1);
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, belowLastLine);
    EXPECT_EQ(outside.count(), 1);
    EXPECT_EQ(rows_.recNo(), 2);

    clickCell(3, 1);
    EXPECT_EQ(outside.count(), 1);
    EXPECT_EQ(rows_.recNo(), 4);
}

TEST_F(MouseTest, DoubleClicksOnCellsAndTitlesAskForAnEdit)
{
    QSignalSpy doubles(&grid(), &TFixDBGrid::gridDoubleClicked);
    const QPoint inCell = grid().visualRect(cell(2, 1)).center();
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, inCell);
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, inCell);
    EXPECT_EQ(doubles.count(), 1);
    EXPECT_EQ(rows_.recNo(), 3);
    QTest::mouseDClick(grid().horizontalHeader()->viewport(), Qt::LeftButton, {}, titleCentre(0));
    EXPECT_EQ(doubles.count(), 2);
}

TEST_F(MouseTest, WholeCurrentLineIsHighlightedWhileTheFocusCellMoves)
{
    grid().setAsRowSelect(true);
    EXPECT_EQ(grid().editTriggers(), QAbstractItemView::NoEditTriggers);
    startAt(2, 0);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    EXPECT_EQ(currentColumn(), 2);
    const QItemSelectionModel* selection = grid().selectionModel();
    for (int column = 0; column < 4; ++column) {
        EXPECT_TRUE(selection->isSelected(cell(2, column))) << column;
        EXPECT_FALSE(selection->isSelected(cell(1, column))) << column;
    }

    // The owner sees every cell of the line highlighted, and one focus cell.
    QList<QModelIndex> focusCells;
    QList<QModelIndex> highlighted;
    QObject::connect(&grid(), &TFixDBGrid::drawColumnCell, &grid(),
                     [&](const QModelIndex& index, bool focusCell, QStyleOptionViewItem& option) {
                         if (focusCell)
                             focusCells.append(index);
                         if (option.state & QStyle::State_Selected)
                             highlighted.append(index);
                     });
    grid().grab();
    ASSERT_FALSE(focusCells.isEmpty());
    for (const QModelIndex& index : focusCells)
        EXPECT_EQ(index, cell(2, 2));
    QSet<int> highlightedColumns;
    for (const QModelIndex& index : highlighted) {
        EXPECT_EQ(index.row(), 2);
        highlightedColumns.insert(index.column());
    }
    EXPECT_TRUE(highlightedColumns.contains(2));
    EXPECT_GE(highlightedColumns.size(), 2); // every column in sight, not just the focus cell
}

} // namespace
} // namespace gridtest
