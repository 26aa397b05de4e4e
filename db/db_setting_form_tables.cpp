// The table group of the database settings window: listing, choosing,
// creating and dropping aircraft tables.
#include "core/error.h"
#include "core/program_files.h"
#include "core/statement_error.h"
#include "data/data_set.h"
#include "db/db_setting_form.h"
#include "db/table_management.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

std::optional<QString> TdBSettingForm::askTableName()
{
    return UserInput::askText(this, QStringLiteral("テーブル名の入力"), QStringLiteral("機体記号"),
                              QString());
}

QString TdBSettingForm::selectedTableName() const
{
    const QListWidgetItem* item = ListBox1->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TdBSettingForm::updatePopupAttachment()
{
    ListBox1->setContextMenuPolicy(ListBox1->count() > 0 ? Qt::CustomContextMenu
                                                         : Qt::NoContextMenu);
}

// Lists the tables with the stored settings (the edits show them again, so
// values typed but not confirmed are dropped) and raises on a failed listing.
void TdBSettingForm::refreshTableList()
{
    const WaitCursor wait;
    QStringList names;
    ShowSettings();
    TableManagement::ListTableNames(*store_, names);
    ListBox1->clear();
    ListBox1->addItems(names);
    updatePopupAttachment();
}

void TdBSettingForm::clearTableList()
{
    ListBox1->clear();
    updatePopupAttachment();
}

void TdBSettingForm::GetTabelNamesActionExecute()
{
    runCommand(this, [this] { refreshTableList(); });
    ShowConnectionState(); // the listing connected with the stored settings
}

void TdBSettingForm::SelectTableActionExecute()
{
    const QString name = selectedTableName();
    if (!name.isEmpty())
        LabeledEdit[5]->setText(name);
}

void TdBSettingForm::DeleteTableActionExecute()
{
    const QString name = selectedTableName();
    if (name.isEmpty())
        return;
    if (!MessageBox::askYesNo(this, name + QStringLiteral("テーブルを削除します")))
        return;
    runCommand(this, [this, &name] {
        const WaitCursor wait;
        ShowSettings();
        TableManagement::DropLogTable(*store_, name);
        if (LabeledEdit[5]->text().compare(name, Qt::CaseInsensitive) == 0)
            LabeledEdit[5]->clear();
        delete ListBox1->currentItem();
        updatePopupAttachment();
    });
    ShowConnectionState(); // dropping connected with the stored settings
}

void TdBSettingForm::CreateTableActionExecute()
{
    if (!store_->IsConnected) {
        Button1Click();
        if (!store_->IsConnected)
            return;
    }
    const QString tableFile = TableManagement::tableCommandFileName(store_->DatabaseKind);
    const QString folder =
        tableFile.isEmpty() ? QString()
                            : ProgramFiles::commandFolder(ProgramFiles::ofThisProgram(), tableFile);
    if (folder.isEmpty()) {
        QApplication::beep();
        MessageBox::inform(
            this,
            QStringLiteral("テーブル作成のSQLコマンドファイルが見つかりません(CreateTable.XXXXX)"));
        return;
    }
    const std::optional<QString> name = askTableName();
    if (!name)
        return;
    // A name the statements could not carry would leave a table that can be
    // neither opened nor dropped from here.
    if (const QString problem = TableManagement::newTableNameProblem(*name); !problem.isEmpty()) {
        MessageBox::warn(this, problem);
        return;
    }
    try {
        const WaitCursor wait;
        TableManagement::CreateLogTable(*store_, *name, folder);
        refreshTableList();
        LabeledEdit[5]->setText(*name);
    } catch (const SkelvoError& error) {
        showCreateFailure(error.message());
    } catch (const std::exception& error) {
        showCreateFailure(QString::fromLocal8Bit(error.what()));
    }
}

// The store's message with the statement that the row-set last held (the
// one that failed, or the one before a failure to read a command file),
// named once.
void TdBSettingForm::showCreateFailure(const QString& message)
{
    QApplication::beep();
    const DataSet* dataSet = store_->CurrentDataSet();
    MessageBox::error(this, statementError(message, dataSet ? dataSet->commandText() : QString()));
}
