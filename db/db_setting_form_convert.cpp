// The database settings window's conversions: the table in use to and from
// a CSV file, and the tables of the older edition.
#include "core/error.h"
#include "data/data_set.h"
#include "db/csv_transfer.h"
#include "db/db_setting_form.h"
#include "db/old_table.h"
#include "db/store_dialects.h"
#include "db/table_file.h"
#include "db/table_management.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"
#include "ui/progress_shown.h"
#include "ui/user_input.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlRecord>

namespace {

const QString CsvFilter = QStringLiteral("CSVファイル (*.CSV *.csv);;すべて (*)");
const QString EraseQuestion = QStringLiteral("データを消去しますか？");

// The asterisk beep and the store's or the file's reason.
void tellFailure(QWidget* parent, const QString& reason)
{
    QApplication::beep();
    MessageBox::inform(parent, reason);
}

} // namespace

QString TdBSettingForm::chooseFile(bool save, const QString& title, const QString& proposed,
                                   const QString& filter, const QString& suffix)
{
    return UserInput::chooseFile(this, {save, title, proposed, filter, suffix});
}

TransferProgress TdBSettingForm::statusProgress(const char* counter, ProgressShown& shown)
{
    auto total = std::make_shared<int>(0);
    return {[total](int steps) { *total = steps; },
            [this, counter, total, &shown](int done) {
                statusPanel_[0]->setText(QString::asprintf(counter, done));
                shown(done, *total);
            }};
}

QStringList TdBSettingForm::logTableColumns()
{
    const QSqlRecord record =
        QSqlDatabase::database(store_->connectionNameOf(store_->DatabaseKind), false)
            .record(store_->sqlTableName(store_->TableName));
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    return names; // empty when the store cannot say: the store judges the names then
}

bool TdBSettingForm::connectStore()
{
    if (!store_->IsConnected)
        store_->ConnectDatabase();
    return store_->IsConnected;
}

QString TdBSettingForm::connectAndChooseCsvFile(bool save)
{
    if (!connectStore())
        return {}; // silently, as the connection's result shows why
    return chooseCsvFile(save);
}

QString TdBSettingForm::chooseCsvFile(bool save)
{
    return chooseFile(
        save, save ? QStringLiteral("CSVファイル出力") : QStringLiteral("CSVファイルを開く"),
        store_->TableName, CsvFilter, QStringLiteral("CSV"));
}

void TdBSettingForm::WriteCsvFileActionExecute()
{
    const QString fileName = connectAndChooseCsvFile(true);
    if (fileName.isEmpty())
        return;
    const WaitCursor wait;
    ProgressShown shown(ProgressBar1);
    DataSet& rows = store_->requireDataSet();
    // The main window's grid stands still while the table is read.
    rows.disableControls();
    const auto cleanUp = qScopeGuard([&] {
        store_->DisconnectDatabase();
        rows.enableControls();
    });
    runCommand(this, [&] {
        store_->CloseLogTable();
        CsvTransfer::writeFile(store_->connectionNameOf(store_->DatabaseKind), store_->TableName,
                               fileName, statusProgress("Out: %d", shown));
    });
}

void TdBSettingForm::ReadCsvFileActionExecute()
{
    const QString fileName = connectAndChooseCsvFile(false);
    if (fileName.isEmpty())
        return;
    const WaitCursor wait;
    ProgressShown shown(ProgressBar1);
    const auto cleanUp = qScopeGuard([&] { store_->DisconnectDatabase(); });
    // The whole file is read and checked before the table may be emptied.
    CsvTransfer::ImportFile file;
    ExistingRows existing = ExistingRows::Kept;
    int nextCt = 1;
    const bool ready = runCommand(this, [&] {
        file = CsvTransfer::readFile(
            fileName, logTableColumns(),
            textLimitsOf(
                QSqlDatabase::database(store_->connectionNameOf(store_->DatabaseKind), false),
                store_->TableName));
        existing = askErase();
        nextCt = firstNewCt(existing);
    });
    if (!ready)
        return;
    try {
        CsvTransfer::appendRows(store_->connectionNameOf(store_->DatabaseKind), store_->TableName,
                                file, nextCt, statusProgress("Add: %d", shown), existing);
    } catch (const SkelvoError& error) {
        tellFailure(this, error.message());
    }
}

ExistingRows TdBSettingForm::askErase()
{
    // No by default: Enter alone must not risk the logbook.
    return MessageBox::askYesNo(this, EraseQuestion, MessageBox::Answer::No)
               ? ExistingRows::Replaced
               : ExistingRows::Kept;
}

int TdBSettingForm::firstNewCt(ExistingRows existing)
{
    // The rows go in the same transaction as the new ones, so that a failed
    // or killed import keeps them.
    if (existing == ExistingRows::Replaced) {
        store_->CloseLogTable();
        return 1;
    }
    return TableManagement::NextCtAfterLastRow(*store_);
}

void TdBSettingForm::OldTableReadActionExecute()
{
    const QString fileName = chooseFile(
        false, QStringLiteral("旧テーブルファイルを開く"), QString(),
        QStringLiteral("テーブルファイル (*.DB *.db);;すべて (*)"), QStringLiteral("DB"));
    if (fileName.isEmpty())
        return;
    Table1->close();
    try {
        openTableFile(*Table1, fileName);
        if (OldTable::isOldTable(*Table1))
            return;
        Table1->close();
        tellFailure(this, QStringLiteral("旧バージョンのテーブルではありません"));
    } catch (const SkelvoError& error) {
        Table1->close();
        tellFailure(this, error.message());
    }
}

void TdBSettingForm::OldTableCloseActionExecute()
{
    if (Table1->isOpen())
        Table1->close();
}

void TdBSettingForm::OldTableWriteCsvFileActionExecute()
{
    OldTableReadActionExecute();
    if (!Table1->isOpen())
        return;
    const QString fileName = chooseCsvFile(true);
    if (fileName.isEmpty())
        return;
    const WaitCursor wait;
    ProgressShown shown(ProgressBar1);
    const auto cleanUp = qScopeGuard([&] { OldTableCloseActionExecute(); });
    runCommand(this, [&] {
        OldTable::writeCsvFile(*Table1, store_->TableName, fileName,
                               statusProgress("Out: %d", shown));
    });
}

void TdBSettingForm::OldTableSaveToNewActionExecute()
{
    if (!Table1->isOpen())
        OldTableReadActionExecute();
    if (!Table1->isOpen())
        return;
    const WaitCursor wait;
    const auto cleanUp = qScopeGuard([&] { OldTableCloseActionExecute(); });
    try {
        // Connected first: a Yes must empty the table, not append to it.
        if (!connectStore())
            throw SkelvoError(store_->LastError);
        const ExistingRows existing = askErase();
        const int nextCt = firstNewCt(existing);
        ProgressShown shown(ProgressBar1);
        OldTable::transfer(*Table1, store_->connectionNameOf(store_->DatabaseKind),
                           store_->TableName, nextCt, statusProgress("Add: %d", shown), existing);
    } catch (const SkelvoError& error) {
        tellFailure(this, error.message());
    }
}
