// The main window's widgets, actions and menus, built once as the window
// is made.
#include "app/grid/fix_db_grid.h"
#include "app/grid/layout_width.h"
#include "app/maintenance_panel.h"
#include "app/navigator_buttons.h"
#include "app/skelvo_main_form.h"
#include "core/grid_columns.h"
#include "core/log_record.h"
#include "ui/command_guard.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

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
    MaintenancePanel1 = new TMaintenancePanel(central);
    connect(MaintenancePanel1, &TMaintenancePanel::rowChosen, this,
            &TSkelvoMainForm::MaintenanceRowChosen);
    top->addWidget(MaintenancePanel1);
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
        {"StatisticsAction", "統計", [this] { StatisticsActionExecute(); }},
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
        {"MaintenanceLimitsAction", "整備期限の設定", [this] { MaintenanceLimitsActionExecute(); }},
        {"TableOpenAction", "テーブルオープン", [this] { TableOpenActionExecute(); }},
        {"TableCloseAction", "テーブルクローズ", [this] { TableCloseActionExecute(); }},
        {"AboutAction", "バージョン情報", [this] { AboutActionExecute(); }},
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
    view->addAction(action("StatisticsAction"));
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
    settings->addAction(action("MaintenanceLimitsAction"));
    menuBar()->addMenu(QStringLiteral("ヘルプ"))->addAction(action("AboutAction"));

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
