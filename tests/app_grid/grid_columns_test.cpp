#include "tests/app_grid/grid_fixture.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>

namespace gridtest {
namespace {

using ColumnsTest = GridTest;

QStringList fieldNames(const QList<TFixDBGrid::Column>& columns)
{
    QStringList names;
    for (const TFixDBGrid::Column& column : columns)
        names.append(column.fieldName);
    return names;
}

TEST_F(ColumnsTest, ColumnsComeBackInDisplayOrderWithTheirWidths)
{
    QHeaderView* titles = grid().horizontalHeader();
    EXPECT_TRUE(titles->sectionsMovable());
    EXPECT_EQ(titles->defaultAlignment(), Qt::AlignCenter);
    titles->moveSection(3, 0);
    titles->resizeSection(1, 140);
    titles->setSectionHidden(2, true);

    const QList<TFixDBGrid::Column> shown = grid().columns();
    EXPECT_EQ(fieldNames(shown), (QStringList{"memo", "ct", "crew", "place"}));
    EXPECT_EQ(shown[2].width, 140);
    EXPECT_EQ(shown[2].title, "乗組員");
    EXPECT_FALSE(shown[3].visible);
    EXPECT_EQ(shown[3].width, 100); // a hidden column keeps its width

    // Set back, the list is the new display order, and what it came from.
    grid().setColumns(shown);
    EXPECT_EQ(fieldNames(grid().columns()), fieldNames(shown));
    EXPECT_EQ(grid().model()->index(0, 0).data().toString(), "メモ1");
    EXPECT_TRUE(titles->isSectionHidden(3));
    EXPECT_EQ(titles->sectionSize(2), 140);
}

TEST_F(ColumnsTest, ColumnsWithoutAWidthGetOneFromTheirTitle)
{
    grid().setColumns({{"ct", "CT"}, {"crew", "乗組員氏名と所属"}});
    const QList<TFixDBGrid::Column> shown = grid().columns();
    EXPECT_GT(shown[0].width, 0);
    EXPECT_GT(shown[1].width, grid().fontMetrics().horizontalAdvance("乗組員氏名と所属"));
}

TEST_F(ColumnsTest, GridRendersForALook)
{
    grid().setAsRowSelect(true);
    grid().setFixedCols(2);
    grid().resize(420, 200);
    rows_.setRecNo(3);
    const QPixmap picture = grid().grab();
    ASSERT_FALSE(picture.isNull());
    // Next to the test program, in the build folder.
    EXPECT_TRUE(picture.save(QCoreApplication::applicationDirPath() + "/fix_db_grid.png"));
}

} // namespace
} // namespace gridtest
