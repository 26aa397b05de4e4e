#include "db/table_management.h"
#include "tests/db_window/form_fixture.h"
#include "ui/message_box.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace dbwindow {
namespace {

// The folder store with the shipped command files in the current directory.
class TableGroupTest : public FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        storeSettings(ParadoxStore, dataFolder_);
    }

    bool tableFileExists(const QString& name) const
    {
        return QFileInfo::exists(QDir(dataFolder_).filePath(name + QStringLiteral(".DB")));
    }

    QStringList listed()
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row)
            names << list()->item(row)->text();
        return names;
    }

    void createTable(const QString& name)
    {
        inputAnswer_ = name;
        form().CreateTableAction->trigger();
    }

    void select(const QString& name)
    {
        const auto items = list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        list()->setCurrentItem(items.first());
    }

    bool popupAttached() { return list()->contextMenuPolicy() == Qt::CustomContextMenu; }
};

TEST_F(TableGroupTest, CreatedTableIsListedAndBecomesTheTableInUse)
{
    EXPECT_FALSE(popupAttached());
    createTable(QStringLiteral("JA01AB"));
    EXPECT_EQ(inputPrompts_, QList<QString>{QStringLiteral("テーブル名の入力/機体記号")});
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    EXPECT_TRUE(tableFileExists(QStringLiteral("JA01AB")));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("JA01AB")});
    EXPECT_EQ(edit(5)->text(), QStringLiteral("JA01AB"));
    EXPECT_EQ(form().store().TableName, QStringLiteral("JA01AB"));
    EXPECT_TRUE(popupAttached());
}

TEST_F(TableGroupTest, MissingTableCommandFileIsReportedBeforeAskingForAName)
{
    ASSERT_TRUE(QFile::remove(QStringLiteral("CreateTable.PRDX")));
    createTable(QStringLiteral("JA01AB"));
    EXPECT_TRUE(inputPrompts_.isEmpty());
    const auto boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(
        boxes[0].text,
        QStringLiteral("テーブル作成のSQLコマンドファイルが見つかりません(CreateTable.XXXXX)"));
}

TEST_F(TableGroupTest, FailedIndexFileShowsTheErrorWithTheTableStatement)
{
    ASSERT_TRUE(QFile::remove(QStringLiteral("CreateIndex.PRDX")));
    createTable(QStringLiteral("JA01AB"));
    const auto boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].kind, MessageBox::Kind::Error);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("CreateIndex.PRDX")));
    EXPECT_EQ(boxes[0].text.count(QStringLiteral("CREATE TABLE \"JA01AB.DB\"")), 1);
    EXPECT_TRUE(tableFileExists(QStringLiteral("JA01AB")));
    EXPECT_TRUE(listed().isEmpty()); // not refreshed
    EXPECT_TRUE(edit(5)->text().isEmpty());
}

TEST_F(TableGroupTest, RejectedStatementShowsTheStoreMessageAndTheStatementOnce)
{
    createTable(QStringLiteral("JA01AB"));
    MessageBox::takeRecorded();
    edit(5)->setText(QStringLiteral("other"));
    createTable(QStringLiteral("JA01AB")); // already there
    const auto boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 1); // one error, the statement named once
    EXPECT_EQ(boxes[0].kind, MessageBox::Kind::Error);
    EXPECT_EQ(boxes[0].text.count(QStringLiteral("CREATE TABLE \"JA01AB.DB\"")), 1)
        << boxes[0].text.toStdString();
    EXPECT_EQ(edit(5)->text(), QStringLiteral("other"));
}

TEST_F(TableGroupTest, EmptyNameGoesToTheStoreWhichRefusesIt)
{
    createTable(QString());
    const auto boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text.count(QStringLiteral("CREATE TABLE \".DB\"")), 1);
    EXPECT_TRUE(QDir(dataFolder_).entryList(QDir::Files).isEmpty());
}

TEST_F(TableGroupTest, NameTheStatementsCannotCarryIsRefusedBeforeCreating)
{
    for (const QString& name : {QStringLiteral("my plane"), QStringLiteral("JA-01"),
                                QStringLiteral("記号"), QString(33, u'A')}) {
        SCOPED_TRACE(name.toStdString());
        createTable(name);
        const auto boxes = MessageBox::takeRecorded();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].kind, MessageBox::Kind::Warning);
        EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("_ (アンダースコア) で、32 文字まで")))
            << boxes[0].text.toStdString();
    }
    EXPECT_TRUE(QDir(dataFolder_).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(edit(5)->text().isEmpty());

    const QString longest = QStringLiteral("JA_2401") + QString(25, u'x');
    createTable(longest);
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());
    EXPECT_TRUE(tableFileExists(longest));
}

TEST_F(TableGroupTest, CreatingWithoutAConnectionTestsTheEditsFirst)
{
    storeSettings(ParadoxStore, folder_.filePath(QStringLiteral("missing")));
    form();
    edit(2)->setText(folder_.filePath(QStringLiteral("missing")));
    createTable(QStringLiteral("JA01AB"));
    EXPECT_TRUE(inputPrompts_.isEmpty()); // stopped silently
    EXPECT_TRUE(MessageBox::takeRecorded().isEmpty());

    edit(2)->setText(dataFolder_);
    createTable(QStringLiteral("JA01AB"));
    EXPECT_EQ(form().store().DatabaseName, dataFolder_);
    EXPECT_TRUE(tableFileExists(QStringLiteral("JA01AB")));
}

TEST_F(TableGroupTest, ConnectingToAnotherStoreClearsTheListedNames)
{
    createTable(QStringLiteral("JA01AB"));
    clickButton("Button1"); // the same store: the names stay
    EXPECT_EQ(listed(), QStringList{QStringLiteral("JA01AB")});
    edit(2)->setText(folder_.path());
    clickButton("Button1");
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(popupAttached());
}

TEST_F(TableGroupTest, SelectingPutsTheNameIntoTheTableInUse)
{
    createTable(QStringLiteral("JA01AB"));
    createTable(QStringLiteral("JA02CD"));
    edit(5)->clear();
    list()->clearSelection();
    form().SelectTableAction->trigger();
    EXPECT_TRUE(edit(5)->text().isEmpty());

    select(QStringLiteral("JA01AB"));
    const QRect row = list()->visualItemRect(list()->currentItem());
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(edit(5)->text(), QStringLiteral("JA01AB"));
    EXPECT_EQ(form().store().TableName, QStringLiteral("JA01AB"));
}

TEST_F(TableGroupTest, DeleteAsksAndClearsTheTableInUseWhateverItsCase)
{
    createTable(QStringLiteral("ab12"));
    createTable(QStringLiteral("ab13"));
    edit(5)->setText(QStringLiteral("AB12"));
    select(QStringLiteral("ab12"));

    MessageBox::answerNext(false);
    form().DeleteTableAction->trigger();
    EXPECT_TRUE(tableFileExists(QStringLiteral("ab12")));

    MessageBox::answerNext(true);
    form().DeleteTableAction->trigger();
    const auto boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].kind, MessageBox::Kind::Question);
    EXPECT_EQ(boxes[1].text, QStringLiteral("ab12テーブルを削除します"));
    EXPECT_FALSE(tableFileExists(QStringLiteral("ab12")));
    EXPECT_EQ(listed(), QStringList{QStringLiteral("ab13")});
    EXPECT_TRUE(edit(5)->text().isEmpty());
    EXPECT_TRUE(popupAttached());

    // Another table in use stays; the last item gone takes the pop-up away.
    edit(5)->setText(QStringLiteral("keep"));
    select(QStringLiteral("ab13"));
    MessageBox::answerNext(true);
    form().DeleteTableAction->trigger();
    EXPECT_EQ(edit(5)->text(), QStringLiteral("keep"));
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(popupAttached());
}

TEST_F(TableGroupTest, FailedDropIsShownAndLeavesTheListAlone)
{
    createTable(QStringLiteral("ab12"));
    MessageBox::takeRecorded();
    ASSERT_TRUE(QFile::remove(QDir(dataFolder_).filePath(QStringLiteral("ab12.DB"))));
    select(QStringLiteral("ab12"));
    MessageBox::answerNext(true);
    form().DeleteTableAction->trigger();
    const auto boxes = MessageBox::takeRecorded();
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[1].kind, MessageBox::Kind::Error);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("ab12")});
    EXPECT_EQ(edit(5)->text(), QStringLiteral("ab12"));
}

TEST_F(TableGroupTest, ListingWithoutAConnectionEmptiesTheListAndDropsThePopup)
{
    createTable(QStringLiteral("JA01AB"));
    ASSERT_TRUE(popupAttached());
    ASSERT_EQ(resultLabel()->text(), QStringLiteral("OK"));
    ASSERT_TRUE(QDir(dataFolder_).removeRecursively());
    clickButton("Button2");
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(popupAttached());
    // The listing's own connect is what the result label shows now.
    EXPECT_EQ(resultLabel()->text(), QStringLiteral("NG"));
    EXPECT_TRUE(resultLabel()->toolTip().contains(dataFolder_));
}

TEST_F(TableGroupTest, ListingShowsTheStoredSettingsAgain)
{
    createTable(QStringLiteral("JA01AB"));
    edit(2)->setText(QStringLiteral("typed but not tested"));
    clickButton("Button2");
    EXPECT_EQ(edit(2)->text(), dataFolder_);
    EXPECT_EQ(listed(), QStringList{QStringLiteral("JA01AB")});
}

} // namespace
} // namespace dbwindow
