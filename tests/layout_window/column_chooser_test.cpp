// The column chooser and layout files, driven by name on the program's
// windows: ticks, renaming, dragging, the menu tick, saving, and what a
// restart finds.
#include "app/column_chooser_list.h"
#include "app/grid/fix_db_grid.h"
#include "core/settings_file.h"
#include "data/data_set.h"
#include "tests/entry_window/logbook_window.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QAction>
#include <QFile>
#include <QTest>

namespace {

class ColumnChooserTest : public entrytest::LogbookWindowTest
{
protected:
    void TearDown() override
    {
        UserInput::setTextTestHook({});
        UserInput::setFileTestHook({});
        LogbookWindowTest::TearDown();
    }

    TColumnChooserList& list() { return *main().CheckListBox1; }
    QAction& menuItem() { return *main().findChild<QAction*>("ColumnsEditAction"); }
    QWidget& chooser() { return *main().findChild<QWidget*>("Panel3"); }
    GridColumn column(const char* field)
    {
        for (const GridColumn& c : main().FixDBGrid1->columns())
            if (c.fieldName == QLatin1String(field))
                return c;
        ADD_FAILURE() << "no column " << field;
        return {};
    }
    void openChooser()
    {
        menuItem().trigger();
        ASSERT_TRUE(chooser().isVisible());
    }
    void setTicked(int line, bool ticked)
    {
        list().item(line)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    void answerFiles(const QString& file)
    {
        UserInput::setFileTestHook([file](const UserInput::FileRequest&) { return file; });
    }
};

TEST_F(ColumnChooserTest, TicksHideAndShowColumnsWhichKeepTheirWidths)
{
    start();
    openChooser();
    ASSERT_EQ(list().count(), 40);
    EXPECT_EQ(list().item(14)->text(), "備考");
    const int width = column("remarks").width;
    EXPECT_FALSE(main().LayoutChanged);

    setTicked(14, false);
    EXPECT_FALSE(column("remarks").visible);
    EXPECT_TRUE(main().LayoutChanged);

    const QString file = folder_.filePath("mine.CDF");
    answerFiles(file);
    main().findChild<QAction*>("GridCustomSaveAction")->trigger();
    EXPECT_FALSE(main().LayoutChanged);
    EXPECT_EQ(main().LayoutFileName, file);
    const QByteArray saved = folder_.readFile("mine.CDF");
    EXPECT_EQ(saved.count("\r\n"), 40);
    EXPECT_TRUE(saved.contains("\r\n-1;\x94\xf5\x8d\x6c;remarks;0\r\n"));

    setTicked(14, true);
    EXPECT_EQ(column("remarks").width, width);

    main().findChild<QAction*>("GridCustomLoadAction")->trigger(); // the saved file again
    EXPECT_FALSE(column("remarks").visible);
    EXPECT_FALSE(list().item(14)->checkState() == Qt::Checked);
}

TEST_F(ColumnChooserTest, DoubleClickRenamesAndResizesCancelKeeping)
{
    start();
    openChooser();
    list().setCurrentRow(2); // crew
    const int width = column("crew").width;
    QStringList answers = {"氏名", QString()};
    UserInput::setTextTestHook([&](const QString&, const QString&, const QString&) {
        const QString answer = answers.takeFirst();
        return answer.isNull() ? std::nullopt : std::optional<QString>(answer);
    });
    main().CheckListBox1DblClick();
    EXPECT_EQ(column("crew").title, "氏名");
    EXPECT_EQ(column("crew").width, width);
    EXPECT_EQ(list().item(2)->text(), "氏名");

    // A title the file could not keep is refused; the width still changes.
    answers = {"a;b", "200"};
    list().setCurrentRow(2);
    main().CheckListBox1DblClick();
    EXPECT_EQ(column("crew").title, "氏名");
    EXPECT_EQ(column("crew").width, 200);
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, MessageBox::Kind::Warning);
}

TEST_F(ColumnChooserTest, DraggingALineMovesItsGridColumn)
{
    start();
    openChooser();
    list().setCurrentRow(1); // mmdd, line 2
    list().beginLineDrag();
    const QPoint fifth = list().visualItemRect(list().item(4)).center();
    list().dragOverLine(fifth);
    EXPECT_EQ(list().markedLine(), 4);
    list().dropLine(fifth);
    list().endLineDrag();
    EXPECT_EQ(main().FixDBGrid1->columns()[4].fieldName, "mmdd");
    EXPECT_EQ(list().item(4)->text(), "月日");
    EXPECT_TRUE(main().LayoutChanged);
}

TEST_F(ColumnChooserTest, TheCloseButtonClearsTheMenuTick)
{
    start();
    openChooser();
    EXPECT_TRUE(menuItem().isChecked());
    QTest::mouseClick(main().findChild<QWidget*>("SpeedButton1"), Qt::LeftButton);
    EXPECT_FALSE(chooser().isVisible());
    EXPECT_FALSE(menuItem().isChecked());
    EXPECT_FALSE(main().LayoutChanged);
}

// A glider club hides the engine and propeller columns, answers Yes at
// shutdown and finds the grid as it left it; the chooser is kept as a
// picture in the build folder (column_chooser.png).
TEST_F(ColumnChooserTest, ALayoutSavedAtShutdownIsWhatTheNextStartShows)
{
    setting("GridDesign", "ColumnsDefFile", folder_.filePath("club.CDF"));
    start();
    openChooser();
    for (int line = 0; line < list().count(); ++line) {
        const QString field = main().FixDBGrid1->columns()[line].fieldName;
        if (field.startsWith("e_") || field.startsWith("p_"))
            setTicked(line, false);
    }
    main().resize(900, 500);
    list().scrollToItem(list().item(30), QAbstractItemView::PositionAtCenter);
    QTest::qWait(50);
    const QImage picture = main().grab().toImage();
    EXPECT_TRUE(picture.save(SKELVO_BINARY_DIR "/column_chooser.png"));
    // The chooser's blue header stands at the grid's left.
    const QWidget* header = main().findChild<QWidget*>("Panel4");
    const QPoint corner = header->mapTo(&main(), QPoint(1, 1)) * picture.devicePixelRatio();
    EXPECT_EQ(picture.pixelColor(corner), QColor(86, 120, 177));
    EXPECT_LT(header->mapTo(&main(), QPoint()).x(),
              main().FixDBGrid1->mapTo(&main(), QPoint()).x());
    EXPECT_FALSE(column("e_sincema").visible);
    EXPECT_TRUE(column("sincema").visible);

    MessageBox::answerNext(true);
    main().close();
    windows_.reset();
    EXPECT_TRUE(QFile::exists(folder_.filePath("club.CDF")));

    start();
    EXPECT_FALSE(column("e_sincema").visible);
    EXPECT_FALSE(column("p_remarks").visible);
    EXPECT_TRUE(column("crew").visible);
    EXPECT_FALSE(main().LayoutChanged);
}

// The settings file may name any file; the layout goes only to a layout
// file, else to where the user says.
TEST_F(ColumnChooserTest, ALayoutIsNeverSavedOverAFileThatIsNoLayoutFile)
{
    const QString victim = folder_.writeFile("notes.txt", "keep me");
    setting("GridDesign", "ColumnsDefFile", victim);
    start();
    openChooser();
    setTicked(3, false);
    bool asked = false;
    UserInput::setFileTestHook([&](const UserInput::FileRequest&) {
        asked = true;
        return QString();
    });
    MessageBox::answerNext(true);
    main().close();
    EXPECT_TRUE(asked);
    EXPECT_EQ(folder_.readFile("notes.txt"), "keep me");
}

TEST_F(ColumnChooserTest, ABadLayoutFileIsReportedAndTheTableStillOpens)
{
    QFile file(folder_.filePath("bad.CDF"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("-1;Year;yyyy;0\r\nwide;x;mmdd;0\r\n");
    file.close();
    setting("GridDesign", "ColumnsDefFile", file.fileName());
    start();
    EXPECT_TRUE(rows().isOpen());
    EXPECT_FALSE(column("yyyy").visible) << "the line before the bad one stays applied";
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].text.contains("2 行目")) << shown[0].text.toStdString();
}

} // namespace
