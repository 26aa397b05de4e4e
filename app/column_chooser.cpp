// The main window's grid layouts: layout files and the column chooser.
#include "app/column_chooser_list.h"
#include "app/grid/fix_db_grid.h"
#include "app/skelvo_main_form.h"
#include "core/error.h"
#include "core/grid_layout.h"
#include "core/program_files.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"
#include "ui/user_input.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString LayoutFilter = QStringLiteral("項目表示条件ファイル (*.CDF *.cdf);;すべて (*)");

// Layout files are offered beside the settings file, as the history lists are.
UserInput::FileRequest layoutFileRequest(bool save, const QString& title, const QString& proposed,
                                         const QString& settingsFile)
{
    const QString name = proposed.isEmpty() ? QString() : QFileInfo(proposed).fileName();
    const QString folder = QFileInfo(settingsFile).absolutePath();
    return {save, title, name.isEmpty() ? folder : folder + u'/' + name, LayoutFilter,
            QStringLiteral("CDF")};
}

} // namespace

void TSkelvoMainForm::buildColumnChooser(QWidget* panel)
{
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* Panel4 = new QWidget(panel);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setAutoFillBackground(true);
    QPalette colours = Panel4->palette();
    colours.setColor(QPalette::Window, QColor(86, 120, 177));
    colours.setColor(QPalette::WindowText, Qt::white);
    Panel4->setPalette(colours);
    auto* header = new QHBoxLayout(Panel4);
    header->setContentsMargins(4, 2, 2, 2);
    header->addWidget(new QLabel(QStringLiteral("表示項目"), Panel4));
    header->addStretch();
    auto* SpeedButton1 = new QToolButton(Panel4);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("X"));
    SpeedButton1->setAutoRaise(true);
    header->addWidget(SpeedButton1);
    layout->addWidget(Panel4);

    CheckListBox1 = new TColumnChooserList(panel);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    layout->addWidget(CheckListBox1, 1);

    connect(SpeedButton1, &QToolButton::clicked, this, &TSkelvoMainForm::SpeedButton1Click);
    connect(CheckListBox1, &QListWidget::itemChanged, this, [this] { CheckListBox1Click(); });
    connect(CheckListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { runCommand(this, [this] { CheckListBox1DblClick(); }); });
    connect(CheckListBox1, &TColumnChooserList::lineDragEnded, this,
            &TSkelvoMainForm::CheckListBox1EndDrag);
}

void TSkelvoMainForm::SaveGridLayout(const QString& fileName)
{
    if (fileName.isEmpty())
        return;
    GridLayout::writeFile(ProgramFiles::besideSettings(IniFileName, fileName),
                          FixDBGrid1->columns());
}

void TSkelvoMainForm::LoadGridLayout(const QString& name)
{
    const QString fileName = ProgramFiles::besideSettings(IniFileName, name);
    const QList<GridColumn> columns = FixDBGrid1->columns();
    if (columns.isEmpty() || !QFileInfo::exists(fileName))
        return;
    const GridLayout::Applied applied =
        GridLayout::applyLines(columns, GridLayout::readFile(fileName));
    FixDBGrid1->setColumns(applied.columns);
    if (applied.firstShown >= 0) {
        const QModelIndex current = FixDBGrid1->currentIndex();
        FixDBGrid1->setCurrentIndex(
            FixDBGrid1->model()->index(std::max(current.row(), 0), applied.firstShown));
    }
    if (Panel3->isVisible())
        FillColumnChooser();
    if (!applied.error.isEmpty())
        throw SkelvoError(QStringLiteral("%1: %2").arg(fileName, applied.error));
}

void TSkelvoMainForm::FillColumnChooser()
{
    Panel3->show();
    const QSignalBlocker quiet(CheckListBox1);
    CheckListBox1->clear();
    for (const GridColumn& column : FixDBGrid1->columns()) {
        auto* line = new QListWidgetItem(column.title, CheckListBox1);
        line->setFlags(line->flags() | Qt::ItemIsUserCheckable);
        line->setCheckState(column.visible ? Qt::Checked : Qt::Unchecked);
    }
}

void TSkelvoMainForm::CheckListBox1Click()
{
    QList<GridColumn> columns = FixDBGrid1->columns();
    for (int i = 0; i < CheckListBox1->count() && i < columns.size(); ++i)
        columns[i].visible = CheckListBox1->item(i)->checkState() == Qt::Checked;
    FixDBGrid1->setColumns(columns);
    LayoutChanged = true;
}

void TSkelvoMainForm::CheckListBox1DblClick()
{
    const int line = CheckListBox1->currentRow();
    QList<GridColumn> columns = FixDBGrid1->columns();
    if (line < 0 || line >= columns.size())
        return;
    GridColumn& column = columns[line];
    const std::optional<QString> title =
        UserInput::askText(this, QStringLiteral("項目名の変更"), QStringLiteral("項目名を入れます"),
                           CheckListBox1->item(line)->text());
    if (title) {
        if (const QString problem = GridLayout::titleProblem(*title); !problem.isEmpty())
            MessageBox::warn(this, problem);
        else
            column.title = *title;
    }
    const std::optional<QString> width =
        UserInput::askText(this, QStringLiteral("表示幅変更"), QStringLiteral("表示幅を入れます"),
                           QString::number(column.visible ? column.width : -1));
    // The title stays changed whatever the width box brings.
    const auto apply = qScopeGuard([&] {
        FixDBGrid1->setColumns(columns);
        FillColumnChooser();
        LayoutChanged = true;
    });
    if (!width)
        return;
    bool ok = false;
    const int pixels = width->toInt(&ok, 10);
    if (!ok)
        throw SkelvoError(QStringLiteral("「%1」は正しい整数ではありません。").arg(*width));
    column.visible = pixels != -1;
    if (column.visible)
        column.width = pixels;
}

void TSkelvoMainForm::CheckListBox1EndDrag(int from, int to)
{
    QList<GridColumn> columns = FixDBGrid1->columns();
    if (from != to && from >= 0 && to >= 0 && from < columns.size() && to < columns.size()) {
        columns.move(from, to);
        FixDBGrid1->setColumns(columns);
    }
    LayoutChanged = true;
}

void TSkelvoMainForm::FixDBGrid1ColumnMoved()
{
    if (Panel3->isVisible())
        FillColumnChooser();
    LayoutChanged = true;
}

void TSkelvoMainForm::ColumnsEditActionExecute()
{
    if (findChild<QAction*>(QStringLiteral("ColumnsEditAction"))->isChecked())
        FillColumnChooser();
    else
        Panel3->hide();
}

void TSkelvoMainForm::SpeedButton1Click()
{
    findChild<QAction*>(QStringLiteral("ColumnsEditAction"))->setChecked(false);
    Panel3->hide();
}

void TSkelvoMainForm::GridCustomSaveActionExecute()
{
    const QString fileName =
        UserInput::chooseFile(this, layoutFileRequest(true, QStringLiteral("表示条件の保存"),
                                                      LayoutFileName, IniFileName));
    if (fileName.isEmpty())
        return;
    SaveGridLayout(fileName);
    LayoutFileName = fileName;
    LayoutChanged = false;
}

void TSkelvoMainForm::GridCustomLoadActionExecute()
{
    const QString fileName =
        UserInput::chooseFile(this, layoutFileRequest(false, QStringLiteral("表示条件の読込"),
                                                      LayoutFileName, IniFileName));
    if (fileName.isEmpty())
        return;
    LoadGridLayout(fileName);
    LayoutFileName = fileName;
}
