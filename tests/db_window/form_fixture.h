#pragma once

#include "db/db_setting_form.h"
#include "db/folder_dialog.h"
#include "tests/testsupport/temp_folder.h"

#include <QList>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace dbwindow {

// A settings window over a stand-in main window, with the command files in
// the current directory, a folder store folder, and every box and chooser
// answered by the test.
class FormTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Settings written before the window is made.
    void storeSettings(int kind, const QString& database, const QString& table = {});
    // The window, made (and shown) on first use.
    TdBSettingForm& form();
    void pickKind(int kind);
    void clickButton(const char* name);

    QComboBox* combo();
    QLineEdit* edit(int number);
    QLabel* editCaption(int number);
    QLabel* resultLabel();
    QListWidget* list();

    testsupport::TempFolder folder_;
    QString ini_;
    QString dataFolder_;
    QString previousDir_;
    std::unique_ptr<QWidget> mainWindow_;
    std::unique_ptr<TdBSettingForm> form_;

    QList<TFolderDialog::Request> chooserRequests_;
    std::optional<QString> chooserAnswer_; // nothing: cancel
    QList<QString> inputPrompts_;
    std::optional<QString> inputAnswer_;
};

} // namespace dbwindow
