#include "db/folder_dialog.h"
#include "tests/db_window/form_fixture.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/temp_folder.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

class FolderDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        owner_ = std::make_unique<QWidget>();
    }
    void TearDown() override { TFolderDialog::setTestHook({}); }

    // Answers the chooser with `answer` and keeps what it was asked with.
    void answer(std::optional<QString> answer)
    {
        TFolderDialog::setTestHook([this, answer](const TFolderDialog::Request& request) {
            requests_.append(request);
            return answer;
        });
    }

    std::unique_ptr<QWidget> owner_;
    testsupport::TempFolder folder_;
    QList<TFolderDialog::Request> requests_;
};

TEST_F(FolderDialogTest, PreselectsOnlyAnExistingFolder)
{
    TFolderDialog dialog(owner_.get());
    answer(std::nullopt);
    dialog.Folder = folder_.path();
    dialog.Execute();
    dialog.Folder = folder_.filePath("missing");
    dialog.Execute();
    ASSERT_EQ(requests_.size(), 2);
    EXPECT_EQ(requests_[0].preselected, QDir::toNativeSeparators(folder_.path()));
    EXPECT_TRUE(requests_[1].preselected.isEmpty());
    EXPECT_EQ(requests_[1].title, dialog.Title);
}

TEST_F(FolderDialogTest, CancelAndPathlessPicksKeepTheFolder)
{
    TFolderDialog dialog(owner_.get());
    dialog.Folder = QStringLiteral("before");
    answer(std::nullopt);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Folder, QStringLiteral("before"));
    answer(QString());
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Folder, QStringLiteral("before"));
}

TEST_F(FolderDialogTest, LongPathComesBackWhole)
{
    QString deep = folder_.path();
    while (deep.size() < 200)
        deep += QStringLiteral("/フォルダー");
    ASSERT_TRUE(QDir().mkpath(deep));
    TFolderDialog dialog(owner_.get());
    answer(deep);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Folder, QDir::toNativeSeparators(deep));
}

// The real chooser: opened on the preselected folder with its path in the
// status line; accepting it gives that folder back.
TEST_F(FolderDialogTest, RealChooserShowsAndReturnsThePreselectedFolder)
{
    const QString picked = folder_.filePath("Logs");
    ASSERT_TRUE(QDir().mkpath(picked));
    TFolderDialog dialog(owner_.get());
    dialog.Title = QStringLiteral("選択");
    dialog.Folder = picked;

    QString title;
    QString status;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!chooser)
            return;
        poll.stop();
        title = chooser->windowTitle();
        if (auto* line = chooser->findChild<QLabel*>(QStringLiteral("FolderStatus")))
            status = line->text();
        static_cast<QDialog*>(chooser)->accept();
    });
    poll.start(10);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(title, QStringLiteral("選択"));
    EXPECT_EQ(status, QDir::toNativeSeparators(picked));
    EXPECT_EQ(QDir(dialog.Folder).canonicalPath(), QDir(picked).canonicalPath());
}

TEST_F(FolderDialogTest, RealChooserCancelReturnsFalse)
{
    TFolderDialog dialog(owner_.get());
    dialog.Folder = QStringLiteral("kept");
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            chooser->reject();
        }
    });
    poll.start(10);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.Folder, QStringLiteral("kept"));
}

} // namespace
