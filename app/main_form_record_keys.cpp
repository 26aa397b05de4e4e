// The main window's record keys, mouse and navigator over the log grid,
// and the entry routines they start.
#include "app/navigator_buttons.h"
#include "app/skelvo_main_form.h"
#include "data/data_set.h"
#include "db/store_connections.h"
#include "entry/input_form.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"

#include <QKeyEvent>
#include <QScopeGuard>

void TSkelvoMainForm::FixDBGrid1KeyDown(QKeyEvent* event, bool& handled)
{
    runCommand(this, [&] {
        DataSet* dataSet = openDataSet();
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            handled = true;
            if (dataSet && dataSet->eof())
                AppendEntry();
            else
                EditEntry();
            break;
        case Qt::Key_End:
            handled = true;
            if (dataSet)
                dataSet->last();
            break;
        case Qt::Key_Home:
            handled = true;
            if (dataSet)
                dataSet->first();
            break;
        case Qt::Key_Down:
            // Trying to move past the last row asks for a new flight.
            handled = dataSet && dataSet->eof();
            if (handled)
                AppendEntry();
            break;
        case Qt::Key_Insert:
            handled = true;
            InsertEntry();
            break;
        case Qt::Key_Delete:
            handled = true;
            DeleteEntry();
            break;
        default:
            break;
        }
    });
    UpdateStatusBar();
}

void TSkelvoMainForm::FixDBGrid1KeyPress(QKeyEvent* event, bool& handled)
{
    if (event->text() == QStringLiteral("+")) {
        handled = true;
        runCommand(this, [this] { AppendEntry(); });
    }
    UpdateStatusBar();
}

void TSkelvoMainForm::FixDBGrid1DblClick()
{
    UpdateStatusBar();
    runCommand(this, [this] { EditEntry(); });
}

void TSkelvoMainForm::DBNavigator1Click(int button)
{
    runCommand(this, [this, button] {
        DataSet* dataSet = openDataSet();
        if (!dataSet)
            return;
        switch (button) {
        case NavFirst:
            dataSet->first();
            break;
        case NavPrior:
            dataSet->prior();
            break;
        case NavNext:
            dataSet->next();
            break;
        case NavLast:
            dataSet->last();
            break;
        case NavInsert:
            // The routine places the new row itself; no blank line first.
            if (dataSet->eof())
                AppendEntry();
            else
                InsertEntry();
            break;
        case NavDelete:
            // Any row, the first included, after one question; the totals
            // are worked out again whatever the answer.
            if (!dataSet->isEmpty() &&
                MessageBox::askOkCancel(this, QStringLiteral("レコードを削除しますか？")))
                dataSet->remove();
            afterRowChange();
            break;
        case NavEdit:
            EditEntry();
            break;
        case NavPost:
            dataSet->post();
            break;
        case NavCancel:
            dataSet->cancel();
            break;
        case NavRefresh:
            DataRefreshActionExecute();
            break;
        default:
            break;
        }
    });
    UpdateStatusBar();
}

void TSkelvoMainForm::InsertEntry()
{
    runEntryRoutine(&::InsertEntry);
}

void TSkelvoMainForm::AppendEntry()
{
    runEntryRoutine(&::AppendEntry);
}

void TSkelvoMainForm::EditEntry()
{
    runEntryRoutine(&::EditEntry);
}

void TSkelvoMainForm::DeleteEntry()
{
    runEntryRoutine(&::DeleteEntry);
}

void TSkelvoMainForm::runEntryRoutine(bool (*routine)(DataSet&, EntryRoutineContext&))
{
    DataSet* dataSet = openDataSet();
    if (!dataSet)
        return;
    EntryRoutineContext context;
    context.zeroIdOnNewRows = store().DatabaseKind == MySqlStore;
    context.messageParent = this;
    context.refreshTable = [this] { DataRefreshActionExecute(); };
    context.showEntryDialog = [this, &context](const std::function<void()>& save) {
        DefaultYear = context.DefaultYear;
        DefaultMonthDay = context.DefaultMonthDay;
        input_->TableName = store().TableName;
        input_->DefaultYear = DefaultYear;
        input_->DefaultMonthDay = DefaultMonthDay;
        input_->saveRow = save;
        // Learnt when the table opened: no query for each entry.
        input_->textLimits = openDataSet() ? openDataSet()->textLimits() : TextLimits();
        const auto forget = qScopeGuard([this] { input_->saveRow = {}; });
        return input_->exec() == QDialog::Accepted;
    };
    if (routine(*dataSet, context))
        afterRowChange();
}

// CalcTotals shows the totals itself.
void TSkelvoMainForm::afterRowChange()
{
    CalcReleaseActionExecute();
    CalcTotals(1);
}
