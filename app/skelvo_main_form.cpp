// The main window's start-up and shutdown, the aircraft selector, the
// table's opening and closing, the totals and the marked range.
#include "app/skelvo_main_form.h"

#include "app/grid/fix_db_grid.h"
#include "app/window_placement.h"
#include "calc/preference_form.h"
#include "calc/totals_calculation.h"
#include "core/error.h"
#include "core/grid_layout.h"
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

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QScreen>
#include <QStyleOptionViewItem>

TSkelvoMainForm::TSkelvoMainForm(const QString& iniFileName, QWidget* parent)
    : QMainWindow(parent), IniFileName(iniFileName)
{
    setObjectName(QStringLiteral("SkelvoMainForm"));
    setWindowTitle(QStringLiteral("SkelvoMainForm"));
    DataSource1 = new DataSource(this);
    buildWidgets();
    connectWidgets();
    applyDefaultColumns();
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

void TSkelvoMainForm::connectWidgets()
{
    // A table opens on what the user typed or chose, never on a completion
    // the box merely proposes; the name is kept as typed.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { ComboBox1Change(text, !selectorNameMayGrow(text)); });
    connect(ComboBox1->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ComboBox1Change(ComboBox1->currentText(), true); });
    connect(ComboBox1, &QComboBox::activated, this,
            [this](int index) { ComboBox1Change(ComboBox1->itemText(index), true); });
    ComboBox1->installEventFilter(this);
    connect(FixDBGrid1, &TFixDBGrid::keyDown, this, &TSkelvoMainForm::FixDBGrid1KeyDown);
    connect(FixDBGrid1, &TFixDBGrid::keyPress, this, &TSkelvoMainForm::FixDBGrid1KeyPress);
    connect(FixDBGrid1, &TFixDBGrid::gridDoubleClicked, this, &TSkelvoMainForm::FixDBGrid1DblClick);
    connect(FixDBGrid1, &TFixDBGrid::mouseDownOutsideCells, this, [this] { UpdateStatusBar(); });
    connect(DataSource1, &DataSource::currentChanged, this, [this] { UpdateStatusBar(); });
    connect(FixDBGrid1, &TFixDBGrid::drawColumnCell, this,
            &TSkelvoMainForm::FixDBGrid1DrawColumnCell);
    connect(FixDBGrid1, &TFixDBGrid::columnMoved, this, &TSkelvoMainForm::FixDBGrid1ColumnMoved);
}

StoreConnections& TSkelvoMainForm::store() const
{
    return dbSetting_->store();
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
    ShowMaintenance();
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

void TSkelvoMainForm::AboutActionExecute()
{
    MessageBox::inform(
        this, QStringLiteral("Skelvo %1\n航空日誌 (機体・エンジン・プロペラ)\n\n"
                             "設定ファイル: %2")
                  .arg(QStringLiteral(SKELVO_VERSION), QDir::toNativeSeparators(IniFileName)));
}

bool TSkelvoMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ComboBox1 && event->type() == QEvent::KeyPress)
        return stepSelector(static_cast<QKeyEvent*>(event)->key());
    return QMainWindow::eventFilter(watched, event);
}

// The arrows step through the aircraft in the closed selector, opening each
// as before; the keys stay there, so that the next step is one more arrow.
bool TSkelvoMainForm::stepSelector(int key)
{
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || ComboBox1->view()->isVisible())
        return false;
    const int index = ComboBox1->currentIndex() + (key == Qt::Key_Down ? 1 : -1);
    if (index >= 0 && index < ComboBox1->count()) {
        ComboBox1->setCurrentIndex(index);
        ComboBox1Change(ComboBox1->itemText(index), false);
    }
    return true;
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
        runCommand(this, [this] {
            if (GridLayout::isLayoutFileName(LayoutFileName))
                SaveGridLayout(LayoutFileName);
            else
                GridCustomSaveActionExecute(); // asks where, rather than writing any file named
        });
}
