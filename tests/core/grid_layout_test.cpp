// Grid layout files: lines written and applied back, short and long files,
// bad lines, and hidden columns keeping their widths.
#include "core/grid_layout.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QList<GridColumn> threeColumns()
{
    return {{"yyyy", "年", 36, true, 0},
            {"mmdd", "月日", 40, true, 0},
            {"crew", "乗組員氏名", 120, true, 6}};
}

TEST(GridLayout, WrittenFilesApplyBackUnchanged)
{
    testsupport::TempFolder folder;
    QList<GridColumn> columns = threeColumns();
    columns[1].visible = false;
    const QString file = folder.filePath("Default.CDF");
    GridLayout::writeFile(file, columns);
    EXPECT_EQ(folder.readFile("Default.CDF"),
              QByteArray("36;\x94\x4e;yyyy;0\r\n-1;\x8c\x8e\x93\xfa;mmdd;0\r\n120;"
                         "\x8f\xe6\x91\x67\x88\xf5\x8e\x81\x96\xbc;crew;6\r\n"));
    const GridLayout::Applied applied =
        GridLayout::applyLines(threeColumns(), GridLayout::readFile(file));
    EXPECT_EQ(applied.columns, columns);
    EXPECT_EQ(applied.firstShown, 0);
    EXPECT_TRUE(applied.error.isEmpty());

    // Titles are written as they stand, "%1" and all.
    columns[2].title = QStringLiteral("%1 回 %2");
    GridLayout::writeFile(file, columns);
    EXPECT_EQ(GridLayout::applyLines(threeColumns(), GridLayout::readFile(file)).columns, columns);
}

TEST(GridLayout, LinesNameTheFieldsInTheirOrderAndTheRestStays)
{
    const GridLayout::Applied shorter =
        GridLayout::applyLines(threeColumns(), {"-1;氏名;crew;0", "50;年;yyyy;0"});
    EXPECT_EQ(shorter.columns[0].fieldName, "crew");
    EXPECT_FALSE(shorter.columns[0].visible);
    EXPECT_EQ(shorter.columns[0].width, 36) << "a hidden column keeps its width";
    EXPECT_EQ(shorter.columns[1].fieldName, "yyyy");
    EXPECT_EQ(shorter.columns[2], threeColumns()[2]);
    EXPECT_EQ(shorter.firstShown, 1);

    const QStringList longer = {"1;a;yyyy;0", "2;b;mmdd;0", "3;c;crew;0", "4;d;sign;0"};
    EXPECT_EQ(GridLayout::applyLines(threeColumns(), longer).columns.size(), 3);
}

TEST(GridLayout, ABadLineStopsThereKeepingWhatCameBefore)
{
    const struct
    {
        QStringList lines;
        QString error;
    } cases[] = {
        {{"50;a;crew;0", "wide;b;yyyy;0"}, "2 行目:「wide」は正しい整数ではありません。"},
        {{"50;a;crew;0", ""}, "2 行目:「」は正しい整数ではありません。"},
        {{"50;a;crew;x"}, "1 行目:「x」は正しい整数ではありません。"},
        {{"50;a;b;c;crew;0"}, "1 行目:「c;crew;0」は正しい整数ではありません。"},
    };
    for (const auto& c : cases) {
        const GridLayout::Applied applied = GridLayout::applyLines(threeColumns(), c.lines);
        EXPECT_EQ(applied.error, c.error);
        EXPECT_EQ(applied.columns[0].width, 50);
        EXPECT_EQ(applied.columns[1], threeColumns()[1]);
    }
    EXPECT_FALSE(GridLayout::titleProblem("a;b").isEmpty());
    EXPECT_TRUE(GridLayout::titleProblem("備考").isEmpty());
}

} // namespace
