// The settings window's conversions driven by name on a folder store: CSV
// out and back in both answers, a refused file, and the older edition's
// tables through the "ファイル" menu.
#include "core/csv_format.h"
#include "db/table_management.h"
#include "paradox/paradox_sql.h"
#include "tests/db_window/form_fixture.h"
#include "tests/testsupport/old_edition_table.h"
#include "tests/testsupport/qt_printers.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>

namespace {

class ConvertTest : public dbwindow::FormTest
{
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        engine_ = std::make_unique<paradox::SqlEngine>(dataFolder_);
        engine_->execute(TableManagement::prepareCommand(
            TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"),
            "ab12"));
        for (int ct = 1; ct <= 3; ++ct)
            engine_->execute(QStringLiteral("INSERT INTO ab12 (ct, sb, crew, remarks) VALUES "
                                            "(%1, 0, '山田', 'a, b')")
                                 .arg(ct));
        storeSettings(ParadoxStore, dataFolder_, "ab12");
        UserInput::setFileTestHook([this](const UserInput::FileRequest& request) {
            titles_.append(request.title);
            return files_.isEmpty() ? QString() : files_.takeFirst();
        });
    }
    void TearDown() override
    {
        UserInput::setFileTestHook({});
        engine_.reset();
        FormTest::TearDown();
    }

    QList<int> storedCts()
    {
        QList<int> cts;
        for (const auto& row : engine_->execute("SELECT ct FROM ab12 ORDER BY ct,sb").rows)
            cts.append(row[0].toInt());
        return cts;
    }
    QString statusText() { return form().findChild<QStatusBar*>()->findChild<QLabel*>()->text(); }
    void trigger(const char* action) { form().findChild<QAction*>(action)->trigger(); }

    std::unique_ptr<paradox::SqlEngine> engine_;
    QStringList files_;  // answers of the file dialogs, in turn
    QStringList titles_; // the dialogs asked
};

TEST_F(ConvertTest, TheTableGoesOutAndComesBackInBothAnswers)
{
    const QString csv = folder_.filePath("ab12.CSV");
    files_ = {csv};
    clickButton("Button7");
    EXPECT_EQ(titles_, QStringList{"CSVファイル出力"});
    EXPECT_TRUE(QFile::exists(csv));
    EXPECT_EQ(statusText(), "Out: 3");
    EXPECT_FALSE(form().findChild<QProgressBar*>("ProgressBar1")->isVisible());

    files_ = {csv};
    MessageBox::answerNext(false); // keep the rows: numbering goes on
    clickButton("Button8");
    EXPECT_EQ(storedCts(), (QList<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(statusText(), "Add: 3");

    files_ = {csv};
    MessageBox::answerNext(true); // erase first
    clickButton("Button8");
    EXPECT_EQ(storedCts(), (QList<int>{1, 2, 3}));
    const auto remarks = engine_->execute("SELECT remarks FROM ab12").rows;
    EXPECT_EQ(remarks[0][0].toString(), "a, b");
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].text, "データを消去しますか？");
    EXPECT_FALSE(shown[0].defaultIsYes); // Enter alone keeps the rows
}

TEST_F(ConvertTest, AFileThatWouldFailIsRefusedBeforeTheQuestion)
{
    const QString csv = folder_.filePath("broken.csv");
    CsvFormat::writeFile(csv, {"callsign,yyyy", "AB12,2009", "", "AB12,2010"});
    files_ = {csv};
    clickButton("Button8");
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, MessageBox::Kind::Error);
    EXPECT_TRUE(shown[0].text.startsWith("3 行目")) << shown[0].text.toStdString();
    EXPECT_EQ(storedCts(), (QList<int>{1, 2, 3}));
}

TEST_F(ConvertTest, OldTablesGoThroughTheFileMenu)
{
    QStringList menu;
    for (QAction* action : form().findChild<QMenuBar*>()->actions().first()->menu()->actions())
        menu.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(menu, (QStringList{"閉じる", "-", "旧テーブルからサーバーへ転送",
                                 "旧テーブルのCSVファイル出力"}));

    const QString old = pxwrite::writeOldEditionTable(folder_.filePath("OLD.DB"), true, 2);
    files_ = {old};
    MessageBox::answerNext(true);
    trigger("OldTableSaveToNewAction");
    EXPECT_EQ(titles_, QStringList{"旧テーブルファイルを開く"});
    EXPECT_EQ(storedCts(), (QList<int>{1, 2}));
    EXPECT_EQ(statusText(), "Add: 2");
    const QList<MessageBox::Recorded> asked = MessageBox::takeRecorded();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_FALSE(asked[0].defaultIsYes);

    const QString csv = folder_.filePath("old.csv");
    files_ = {old, csv};
    trigger("OldTableWriteCsvFileAction");
    EXPECT_TRUE(QFile::exists(csv));
    EXPECT_EQ(statusText(), "Out: 2");

    // A current log table is not an old one: nothing moves.
    files_ = {dataFolder_ + "/ab12.DB"};
    trigger("OldTableSaveToNewAction");
    const QList<MessageBox::Recorded> shown = MessageBox::takeRecorded();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].text, "旧バージョンのテーブルではありません");
    EXPECT_EQ(storedCts(), (QList<int>{1, 2}));
}

} // namespace
