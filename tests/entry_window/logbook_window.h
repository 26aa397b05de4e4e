#pragma once

#include "app/skelvo_windows.h"
#include "tests/testsupport/temp_folder.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class DataSet;
class TDBEdit;
class QComboBox;
class QDialog;

namespace entrytest {

// The program's windows on a folder-store logbook, opened the way the
// program starts: by default "ja2401", an opening row with starting totals
// and one flight.
class LogbookWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    // Fills the store folder; gives the table the program opens.
    virtual QString fillStore();

    // Settings written before start().
    void setting(const char* section, const char* key, const QString& value);
    void start();

    TSkelvoMainForm& main() { return windows_->mainForm; }
    TInputForm& dialog() { return windows_->inputForm; }
    DataSet& rows();
    // Table content read by another connection in key order: "ct,sb column".
    QStringList stored(const char* column);

    // Sends a key to the grid; the steps run while the entry dialog, if the
    // key opens it, is shown (it is cancelled afterwards if still open).
    void gridKey(int key, const std::function<void()>& steps = {});
    void whileDialogShown(const std::function<void()>& steps);
    // Triggers the main window's action and runs the steps in the window it
    // shows (closed afterwards if still open); fails when none is shown.
    void inWindowOf(const char* action, const char* window,
                    const std::function<void(QDialog&)>& steps);

    // Within the dialog: typing into the focused control, and keys.
    void type(const QString& text);
    void press(int key);
    QWidget* focused();
    TDBEdit* edit(int number);
    QComboBox* combo(int number);
    QString totalsBox(int number); // the main window's Edit1 to Edit6

    testsupport::TempFolder folder_;
    QString store_;
    QString ini_;
    std::unique_ptr<SkelvoWindows> windows_;
    bool dialogWasShown_ = false;
};

} // namespace entrytest
