#include "tests/app_grid/grid_fixture.h"

#include <QCoreApplication>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QStyleOptionViewItem>

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

// The colour most of a picture has: the background of a cell or title.
QRgb mainColour(const QImage& picture)
{
    QHash<QRgb, int> counts;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            ++counts[picture.pixel(x, y)];
    }
    QRgb main = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(main))
            main = it.key();
    }
    return main;
}

int colourDistance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

// Whether something stands out from the background inside the borders:
// a text or a mark.
bool hasInk(const QImage& picture)
{
    const QImage inside = picture.copy(picture.rect().adjusted(3, 3, -3, -3));
    const QRgb background = mainColour(inside);
    for (int y = 0; y < inside.height(); ++y) {
        for (int x = 0; x < inside.width(); ++x) {
            if (colourDistance(inside.pixel(x, y), background) > 150)
                return true;
        }
    }
    return false;
}

TEST_F(ColumnsTest, GridShowsTitlesTextsTheCurrentLineAndTheOwnersColours)
{
    grid().setAsRowSelect(true);
    grid().setFixedCols(2);
    grid().resize(420, 200);
    rows_.setRecNo(3);
    const QColor base = grid().palette().color(QPalette::Base);
    const QColor highlight = grid().palette().color(QPalette::Highlight);
    const QColor marked(255, 193, 255); // as the owner colours a marked range
    QObject::connect(&grid(), &TFixDBGrid::drawColumnCell,
                     [&](const QModelIndex& index, bool, QStyleOptionViewItem& option) {
                         if (index.row() == 4)
                             option.backgroundBrush = marked;
                     });
    const QImage picture = grid().grab().toImage();
    // Next to the test program, in the build folder, for a look.
    picture.save(QCoreApplication::applicationDirPath() + "/fix_db_grid.png");
    const auto part = [&](const QWidget* widget, const QRect& area) {
        return picture.copy(area.translated(widget->mapTo(&grid(), QPoint())));
    };

    const QHeaderView* titles = grid().horizontalHeader();
    for (int column = 0; column < 4; ++column)
        EXPECT_TRUE(
            hasInk(part(titles->viewport(), {titles->sectionViewportPosition(column), 0,
                                             titles->sectionSize(column), titles->height()})))
            << "title " << column;

    const QHeaderView* indicator = grid().verticalHeader();
    const QColor backgrounds[] = {base, base, highlight, base, marked};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE("row " + std::to_string(row));
        const QRect mark(0, indicator->sectionViewportPosition(row), indicator->width(),
                         indicator->sectionSize(row));
        EXPECT_EQ(hasInk(part(indicator->viewport(), mark)), row == 2);
        for (int column = 0; column < 4; ++column) {
            const QImage shown = part(grid().viewport(), grid().visualRect(cell(row, column)));
            EXPECT_TRUE(hasInk(shown)) << cell(row, column).data().toString().toStdString();
            // The frozen column is not part of the line's highlight.
            if (column > 0) {
                EXPECT_EQ(QColor(mainColour(shown)).name(), backgrounds[row].name());
            }
        }
    }
    // Each row shows its own text: two cells that differ in one character differ.
    EXPECT_EQ(cell(1, 1).data().toString(), "乗員2");
    EXPECT_NE(part(grid().viewport(), grid().visualRect(cell(0, 1))),
              part(grid().viewport(), grid().visualRect(cell(1, 1))));
}

} // namespace
} // namespace gridtest
