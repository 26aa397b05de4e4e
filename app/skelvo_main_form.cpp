#include "app/skelvo_main_form.h"

#include "app/grid/fix_db_grid.h"
#include "app/grid/layout_width.h"
#include "app/window_placement.h"
#include "calc/preference_form.h"
#include "calc/totals_calculation.h"
#include "core/error.h"
#include "core/grid_columns.h"
#include "core/log_record.h"
#include "core/settings_file.h"
#include "core/settings_keys.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "db/db_setting_form.h"
#include "db/store_connections.h"
#include "db/table_management.h"
#include "entry/input_form.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"
#include "ui/progress_shown.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyleOptionViewItem>
#include <QToolBar>

namespace {

// The navigator's buttons, in their order on the bar.
enum NavigatorButton
{
    NavFirst,
    NavPrior,
    NavNext,
    NavLast,
    NavInsert,
    NavDelete,
    NavEdit,
    NavPost,
    NavCancel,
    NavRefresh,
};

struct NavigatorEntry
{
    const char* symbol;
    const char* hint;
};

constexpr NavigatorEntry NavigatorEntries[] = {
    {"|◀", "先頭レコード"},  {"◀", "前のレコード"},   {"▶", "次のレコード"},
    {"▶|", "最終レコード"},  {"+", "レコードの挿入"}, {"−", "レコードの削除"},
    {"▲", "レコードの編集"}, {"✓", "編集の確定"},     {"✕", "編集のキャンセル"},
    {"↻", "データの更新"},
};

} // namespace

TSkelvoMainForm::TSkelvoMainForm(const QString& iniFileName, QWidget* parent)
    : QMainWindow(parent), IniFileName(iniFileName)
{
    setObjectName(QStringLiteral("SkelvoMainForm"));
    setWindowTitle(QStringLiteral("SkelvoMainForm"));
    DataSource1 = new DataSource(this);
    buildWidgets();
    buildActions();
    buildMenus();
    FormCreate();
}

TSkelvoMainForm::~TSkelvoMainForm() = default;

void TSkelvoMainForm::setForms(TdBSettingForm* dbSetting, TInputForm* input,
                               TPreferenceForm* preference)
{
    dbSetting_ = dbSetting;
    input_ = input;
    preference_ = preference;
    preference_->setPreferences(&preferences);
    input_->bind(DataSource1, &preferences, IniFileName);
    DataSource1->setDataSet(store().dataSetOf(MySqlStore));
}

StoreConnections& TSkelvoMainForm::store() const
{
    return dbSetting_->store();
}

void TSkelvoMainForm::buildWidgets()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* top = new QHBoxLayout;
    auto* selector = new QVBoxLayout;
    selector->addWidget(new QLabel(QStringLiteral("機体記号"), central));
    ComboBox1 = new QComboBox(central);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMinimumWidth(120);
    selector->addWidget(ComboBox1);
    auto* refresh = new QPushButton(central);
    refresh->setObjectName(QStringLiteral("Button1"));
    selector->addWidget(refresh);
    top->addLayout(selector);

    const QString groups[] = {QStringLiteral("総航行時間"), QStringLiteral("エンジン時間"),
                              QStringLiteral("プロペラ時間")};
    for (int g = 0; g < 3; ++g) {
        auto* group = new QGroupBox(groups[g], central);
        group->setObjectName(QStringLiteral("GroupBox%1").arg(g + 1));
        auto* grid = new QGridLayout(group);
        for (int k = 0; k < 2; ++k) {
            auto* edit = new QLineEdit(group);
            edit->setObjectName(QStringLiteral("Edit%1").arg(g * 2 + k + 1));
            edit->setReadOnly(true);
            edits_[g * 2 + k] = edit;
            grid->addWidget(
                new QLabel(k == 0 ? QStringLiteral("製造後") : QStringLiteral("ＯＨ後"), group), k,
                0);
            grid->addWidget(edit, k, 1);
        }
        top->addWidget(group);
    }
    top->addStretch();
    layout->addLayout(top);

    DBNavigator1 = new QToolBar(central);
    DBNavigator1->setObjectName(QStringLiteral("DBNavigator1"));
    for (int button = 0; button < int(std::size(NavigatorEntries)); ++button) {
        QAction* action =
            DBNavigator1->addAction(QString::fromUtf8(NavigatorEntries[button].symbol));
        action->setObjectName(QStringLiteral("DBNavigator1Button%1").arg(button));
        action->setToolTip(QString::fromUtf8(NavigatorEntries[button].hint));
        connect(action, &QAction::triggered, this, [this, button] { DBNavigator1Click(button); });
    }
    layout->addWidget(DBNavigator1);

    auto* splitter = new QSplitter(central);
    Panel3 = new QWidget(splitter);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedWidth(139);
    Panel3->hide();
    buildColumnChooser(Panel3);
    FixDBGrid1 = new TFixDBGrid(splitter);
    FixDBGrid1->setObjectName(QStringLiteral("FixDBGrid1"));
    FixDBGrid1->setDataSource(DataSource1);
    FixDBGrid1->setAsRowSelect(true);
    FixDBGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    splitter->setHandleWidth(1);
    layout->addWidget(splitter, 1);

    Panel1 = new QWidget(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* range = new QHBoxLayout(Panel1);
    for (int i = 0; i < 2; ++i) {
        auto* edit = new QLineEdit(Panel1);
        edit->setObjectName(QStringLiteral("Edit%1").arg(7 + i));
        edit->setReadOnly(true);
        edits_[6 + i] = edit;
        range->addWidget(new QLabel(
            i == 0 ? QStringLiteral("計算結果: 航行時間=") : QStringLiteral("飛行時間="), Panel1));
        range->addWidget(edit);
    }
    range->addStretch();
    Panel1->hide();
    layout->addWidget(Panel1);
    setCentralWidget(central);

    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    for (QLabel*& panel : statusPanels_) {
        panel = new QLabel(this);
        panel->setFixedWidth(200);
        statusBar()->addWidget(panel);
    }
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedWidth(200);
    ProgressBar1->hide();
    statusBar()->addWidget(ProgressBar1);

    // A table opens on what the user typed or chose, never on a completion
    // the box merely proposes; the name is kept as typed.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { ComboBox1Change(text, !selectorNameMayGrow(text)); });
    connect(ComboBox1->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ComboBox1Change(ComboBox1->currentText(), true); });
    connect(ComboBox1, &QComboBox::activated, this,
            [this](int index) { ComboBox1Change(ComboBox1->itemText(index), true); });
    connect(FixDBGrid1, &TFixDBGrid::keyDown, this, &TSkelvoMainForm::FixDBGrid1KeyDown);
    connect(FixDBGrid1, &TFixDBGrid::keyPress, this, &TSkelvoMainForm::FixDBGrid1KeyPress);
    connect(FixDBGrid1, &TFixDBGrid::gridDoubleClicked, this, &TSkelvoMainForm::FixDBGrid1DblClick);
    connect(FixDBGrid1, &TFixDBGrid::mouseDownOutsideCells, this, [this] { UpdateStatusBar(); });
    connect(DataSource1, &DataSource::currentChanged, this, [this] { UpdateStatusBar(); });
    connect(FixDBGrid1, &TFixDBGrid::drawColumnCell, this,
            &TSkelvoMainForm::FixDBGrid1DrawColumnCell);
    connect(FixDBGrid1, &TFixDBGrid::columnMoved, this, &TSkelvoMainForm::FixDBGrid1ColumnMoved);
    applyDefaultColumns();
}

void TSkelvoMainForm::applyDefaultColumns()
{
    QList<TFixDBGrid::Column> columns;
    for (const GridColumns::DefaultColumn& column : GridColumns::defaults()) {
        const LogRecord::Column* field = LogRecord::findColumn(QString(column.fieldName));
        const int width =
            column.width > 0 ? layoutWidthToPixels(*FixDBGrid1, column.width) : column.width;
        columns.append({QString(column.fieldName), field->gridTitle.toString(), width, true});
    }
    FixDBGrid1->setColumns(columns);
}

QAction* TSkelvoMainForm::addAction(const char* name, const QString& caption)
{
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void TSkelvoMainForm::buildActions()
{
    const struct
    {
        const char* name;
        const char* caption;
        std::function<void()> execute;
    } actions[] = {
        {"GridCustomSaveAction", "表示条件の保存", [this] { GridCustomSaveActionExecute(); }},
        {"GridCustomLoadAction", "表示条件の読込", [this] { GridCustomLoadActionExecute(); }},
        {"ExitAction", "終了", [this] { close(); }},
        {"DataRefreshAction", "最新の情報に更新", [this] { DataRefreshActionExecute(); }},
        {"ColumnsEditAction", "表示項目の編集", [this] { ColumnsEditActionExecute(); }},
        {"LanguageCahngeAction", "言語切替", {}},
        {"PrinterSettingAction", "プリンターの設定", [this] { PrinterSettingActionExecute(); }},
        {"SkelvoPrintAction", "スケルボ印刷", [this] { SkelvoPrintActionExecute(); }},
        {"EngineLogPrintAction", "エンジンログ印刷", [this] { EngineLogPrintActionExecute(); }},
        {"PropellerLogPrintAction", "プロペラログ印刷",
         [this] { PropellerLogPrintActionExecute(); }},
        {"CalcAllAction", "再計算", [this] { CalcAllActionExecute(); }},
        {"CalcPartAction", "指定範囲の計算", [this] { CalcPartActionExecute(); }},
        {"CalcStartAction", "部分計算開始位置設定", [this] { CalcStartActionExecute(); }},
        {"CalcEndAction", "部分計算終了位置設定", [this] { CalcEndActionExecute(); }},
        {"CalcReleaseAction", "部分計算解除", [this] { CalcReleaseActionExecute(); }},
        {"DatabaseSettingAction", "データベース設定", [this] { DatabaseSettingActionExecute(); }},
        {"SetPreferenceAction", "環境設定設定", [this] { SetPreferenceActionExecute(); }},
        {"TableOpenAction", "テーブルオープン", [this] { TableOpenActionExecute(); }},
        {"TableCloseAction", "テーブルクローズ", [this] { TableCloseActionExecute(); }},
    };
    for (const auto& entry : actions) {
        QAction* action = addAction(entry.name, QString::fromUtf8(entry.caption));
        // Actions without a command yet belong to features still to come.
        if (entry.execute)
            connect(action, &QAction::triggered, this,
                    [this, execute = entry.execute] { runCommand(this, execute); });
    }
    findChild<QAction*>(QStringLiteral("LanguageCahngeAction"))->setEnabled(false);
    findChild<QAction*>(QStringLiteral("ColumnsEditAction"))->setCheckable(true);
    QAction* refresh = findChild<QAction*>(QStringLiteral("DataRefreshAction"));
    auto* button = findChild<QPushButton*>(QStringLiteral("Button1"));
    button->setText(refresh->text());
    connect(button, &QPushButton::clicked, refresh, &QAction::trigger);
}

void TSkelvoMainForm::buildMenus()
{
    const auto action = [this](const char* name) {
        return findChild<QAction*>(QString::fromLatin1(name));
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル"));
    file->addAction(action("GridCustomSaveAction"));
    file->addAction(action("GridCustomLoadAction"));
    file->addSeparator();
    file->addAction(action("ExitAction"));
    QMenu* view = menuBar()->addMenu(QStringLiteral("表示"));
    view->addAction(action("DataRefreshAction"));
    view->addAction(action("ColumnsEditAction"));
    view->addAction(action("LanguageCahngeAction"));
    menuBar()->addMenu(QStringLiteral("編集"));
    QMenu* print = menuBar()->addMenu(QStringLiteral("印刷"));
    for (const char* name : {"PrinterSettingAction", "SkelvoPrintAction", "EngineLogPrintAction",
                             "PropellerLogPrintAction"})
        print->addAction(action(name));
    QMenu* calc = menuBar()->addMenu(QStringLiteral("計算"));
    calc->addAction(action("CalcAllAction"));
    calc->addAction(action("CalcPartAction"));
    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定"));
    settings->addAction(action("DatabaseSettingAction"));
    settings->addAction(action("SetPreferenceAction"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (const char* name :
         {"CalcStartAction", "CalcEndAction", "CalcReleaseAction", "CalcPartAction"})
        PopupMenu1->addAction(action(name));
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(action("CalcAllAction"));
    connect(FixDBGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1->popup(FixDBGrid1->viewport()->mapToGlobal(at));
    });
}

void TSkelvoMainForm::FormCreate()
{
    const QRect stored(Settings::read(IniFileName, Settings::WindowsLeft),
                       Settings::read(IniFileName, Settings::WindowsTop),
                       Settings::read(IniFileName, Settings::WindowsWidth),
                       Settings::read(IniFileName, Settings::WindowsHeight));
    const QScreen* screen = QGuiApplication::screenAt(stored.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    normalPlacement_ =
        screen ? WindowPlacement::fitOnScreen(stored, screen->availableGeometry()) : stored;
    move(normalPlacement_.topLeft());
    resize(normalPlacement_.size());
    if (Settings::read(IniFileName, Settings::WindowsMaximized))
        setWindowState(Qt::WindowMaximized);
    PrinterName = Settings::read(IniFileName, Settings::PrinterName);
    PrinterPaperSize = Settings::read(IniFileName, Settings::PrinterSize);
    PrinterOrientation = Settings::read(IniFileName, Settings::PrinterOrientation);
    PrinterBin = Settings::read(IniFileName, Settings::PrinterBin);
}

// The place and size the window has when neither maximized nor minimized:
// what the settings keep, so that it comes back as it was.
void TSkelvoMainForm::rememberNormalPlacement()
{
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        normalPlacement_ = QRect(pos(), size());
}

void TSkelvoMainForm::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    rememberNormalPlacement();
}

void TSkelvoMainForm::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    rememberNormalPlacement();
}

void TSkelvoMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TSkelvoMainForm::FormShow()
{
    // An error ends the start-up steps; the window stays and the program
    // runs on.
    runCommand(this, [this] {
        CalcReleaseActionExecute();
        preferences.read(IniFileName);
        for (int i = 0; i < 5; ++i) {
            QStringList list;
            MyutyFiles::ReadHistoryList(IniFileName, Settings::HistorySection,
                                        QString::fromLatin1(Settings::HistoryListNames[i]), list);
            input_->historyBoxes()[i]->clear();
            input_->historyBoxes()[i]->addItems(list);
        }
        LayoutFileName = Settings::read(IniFileName, Settings::ColumnsDefFile);
        // A bad layout file is reported but does not keep the logbook shut.
        runCommand(this, [this] { LoadGridLayout(LayoutFileName); });
        LayoutChanged = false;

        QStringList names;
        try {
            TableManagement::ListTableNames(store(), names);
        } catch (const std::exception&) {
            names.clear(); // an unreachable store leaves the selector empty
        }
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->clear();
        ComboBox1->addItems(names);
        ComboBox1->setEditText(store().TableName);
        if (!store().TableName.isEmpty())
            TableOpenActionExecute();
    });
    FixDBGrid1->setFocus();
}

DataSet* TSkelvoMainForm::openDataSet() const
{
    DataSet* dataSet = DataSource1->dataSet();
    return dataSet && dataSet->isOpen() ? dataSet : nullptr;
}

void TSkelvoMainForm::TableOpenActionExecute()
{
    store().ConnectDatabase();
    store().SelectColumns = QStringLiteral("*");
    store().SelectOrder = QStringLiteral(" ORDER BY ct,sb");
    store().OpenLogTable();
    DataSet& dataSet = store().requireDataSet();
    DataSource1->setDataSet(&dataSet);
    if (!dataSet.isOpen())
        dataSet.open();
    dataSet.last();
    ShowTotals();
    UpdateStatusBar();
}

void TSkelvoMainForm::TableCloseActionExecute()
{
    if (DataSet* dataSet = DataSource1->dataSet())
        dataSet->close();
    store().CloseLogTable();
    store().DisconnectDatabase();
    ShowTotals();
}

void TSkelvoMainForm::DataRefreshActionExecute()
{
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setEditText(store().TableName);
    }
    TableCloseActionExecute();
    TableOpenActionExecute();
    ShowTotals();
    FixDBGrid1->setFocus();
}

void TSkelvoMainForm::CalcReleaseActionExecute()
{
    Part.release();
    Panel1->hide();
    FixDBGrid1->viewport()->update();
}

void TSkelvoMainForm::CalcStartActionExecute()
{
    markRange(&PartialRange::markStart, &PartialRange::PartStart);
}

void TSkelvoMainForm::CalcEndActionExecute()
{
    markRange(&PartialRange::markEnd, &PartialRange::PartEnd);
}

// Places a mark on the current row and sums the range again; without an
// open table the mark is cleared.
void TSkelvoMainForm::markRange(void (PartialRange::*mark)(int), int PartialRange::*markField)
{
    DataSet* dataSet = openDataSet();
    if (!dataSet) {
        Part.*markField = 0;
        return;
    }
    (Part.*mark)(dataSet->recNo());
    CalcPartActionExecute();
    FixDBGrid1->viewport()->update();
}

void TSkelvoMainForm::CalcPartActionExecute()
{
    DataSet* dataSet = openDataSet();
    if (!dataSet)
        return;
    const std::optional<RangeSums> sums = CalcPart(*dataSet, Part);
    if (!sums)
        return;
    edits_[6]->setText(sums->blockTime);
    edits_[7]->setText(sums->flightTime);
    Panel1->show();
}

void TSkelvoMainForm::CalcAllActionExecute()
{
    CalcTotals(0);
}

void TSkelvoMainForm::CalcTotals(int from)
{
    const WaitCursor hourglass;
    if (DataSet* dataSet = openDataSet()) {
        try {
            ProgressShown progress(ProgressBar1);
            ::CalcTotals(*dataSet, preferences, from, std::ref(progress));
        } catch (const std::exception& error) {
            reopenAfterFailedPass(QString::fromUtf8(error.what())); // a SkelvoError's own text
        }
    }
    ShowTotals();
}

// A pass the store did not take: the grid and the totals show the table
// read again over a fresh connection, so that a server lost meanwhile is
// reached again once it is back. A table that cannot be read is left
// closed rather than showing figures it may not hold. Raises the pass's
// error, with the reason when the table could not be read.
void TSkelvoMainForm::reopenAfterFailedPass(const QString& error)
{
    const int recNo = openDataSet() ? openDataSet()->recNo() : 0;
    // Every row of a pass is tried; on a lost server each fails alike.
    constexpr qsizetype ShownLines = 10;
    QStringList lines = error.split(u'\n');
    if (lines.size() > ShownLines + 1) {
        const qsizetype more = lines.size() - ShownLines;
        lines.resize(ShownLines);
        lines.append(QStringLiteral("（ほか %1 行）").arg(more));
    }
    QString message = lines.join(u'\n');
    try {
        TableCloseActionExecute();
        TableOpenActionExecute();
        openDataSet()->setRecNo(recNo);
    } catch (const std::exception& reopen) {
        const QString why = openDataSet()
                                ? QStringLiteral("\n\nテーブル %1 を読み直せません。\n")
                                : QStringLiteral("\n\nテーブル %1 を読み直せないため、閉じました。"
                                                 "合計は表示できません。\n");
        message += why.arg(store().TableName) + QString::fromUtf8(reopen.what());
        ShowTotals();
        UpdateStatusBar();
    }
    throw SkelvoError(message);
}

// The last row's totals; empty boxes while no table is open, so that no
// figure of another aircraft stays on screen.
void TSkelvoMainForm::ShowTotals()
{
    DataSet* dataSet = openDataSet();
    const Totals totals = dataSet ? ::ShowTotals(*dataSet) : Totals{};
    const QString values[] = {totals.sincema,   totals.sinceov,   totals.e_sincema,
                              totals.e_sinceov, totals.p_sincema, totals.p_sinceov};
    for (int i = 0; i < 6; ++i)
        edits_[i]->setText(values[i]);
}

void TSkelvoMainForm::FixDBGrid1DrawColumnCell(const QModelIndex& index, bool focusCell,
                                               QStyleOptionViewItem& option)
{
    if (focusCell || !Part.contains(index.row() + 1))
        return;
    option.state &= ~QStyle::State_Selected;
    option.backgroundBrush = QColor(255, 193, 255);
    option.palette.setColor(QPalette::Text, Qt::black);
}

void TSkelvoMainForm::ComboBox1Change(const QString& text, bool nameComplete)
{
    if (ComboBox1->findText(text, Qt::MatchFixedString) < 0)
        return;
    const bool alreadyOpen =
        openDataSet() && text.compare(store().TableName, Qt::CaseInsensitive) == 0;
    if (!alreadyOpen) {
        CalcReleaseActionExecute(); // the marks belong to the aircraft left
        const bool opened = runCommand(this, [this, text] {
            TableCloseActionExecute();
            store().TableName = text;
            TableOpenActionExecute();
        });
        if (!opened)
            return; // the name stays in the selector to be corrected
    }
    // The next keys are meant for the log ("+" appends a flight), not for
    // the name.
    if (nameComplete)
        FixDBGrid1->setFocus();
}

// A typed name that begins a longer listed one may not be finished yet:
// the table opens, but the keys stay in the selector.
bool TSkelvoMainForm::selectorNameMayGrow(const QString& text) const
{
    for (int i = 0; i < ComboBox1->count(); ++i) {
        const QString name = ComboBox1->itemText(i);
        if (name.size() > text.size() && name.startsWith(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void TSkelvoMainForm::DatabaseSettingActionExecute()
{
    dbSetting_->exec();
    CalcReleaseActionExecute(); // the store or the table may have changed
    DataRefreshActionExecute();
}

void TSkelvoMainForm::SetPreferenceActionExecute()
{
    preference_->exec();
}

void TSkelvoMainForm::UpdateStatusBar()
{
    statusPanels_[0]->setText(QStringLiteral("Database:") + store().DatabaseName);
    const DataSet* dataSet = DataSource1->dataSet();
    const int recNo = dataSet ? dataSet->recNo() : 0;
    const int count = dataSet && dataSet->isOpen() ? dataSet->recordCount() : 0;
    statusPanels_[1]->setText(QString::asprintf("Record:%d/%d", recNo, count));
}

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

void TSkelvoMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

void TSkelvoMainForm::FormClose()
{
    runCommand(this, [this] {
        dbSetting_->OldTableCloseActionExecute();
        store().CloseLogTable();
        store().DisconnectDatabase();
    });
    Settings::write(IniFileName, Settings::WindowsTop, normalPlacement_.top());
    Settings::write(IniFileName, Settings::WindowsLeft, normalPlacement_.left());
    Settings::write(IniFileName, Settings::WindowsWidth, normalPlacement_.width());
    Settings::write(IniFileName, Settings::WindowsHeight, normalPlacement_.height());
    Settings::write(IniFileName, Settings::WindowsMaximized, isMaximized());
    preferences.writeSwitches(IniFileName);
    Settings::write(IniFileName, Settings::ColumnsDefFile, LayoutFileName);
    preferences.writeRussianValueAndOldPattern(IniFileName);
    if (LayoutChanged && MessageBox::askYesNo(this, QStringLiteral("項目の表示が変更されています"
                                                                   "この条件を保存しますか？")))
        runCommand(this, [this] { SaveGridLayout(LayoutFileName); });
}
