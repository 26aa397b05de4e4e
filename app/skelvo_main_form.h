#pragma once

#include "calc/entry_routines.h"
#include "calc/partial_range.h"
#include "core/preferences.h"
#include "data/statement_values.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class DataSet;
class DataSource;
class LogPrintForm;
class QAction;
class QModelIndex;
class QStyleOptionViewItem;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPrinter;
class QPushButton;
class QToolBar;
class QWidget;
class StoreConnections;
class TColumnChooserList;
class TFixDBGrid;
class TInputForm;
class TMaintenancePanel;
class TPreferenceForm;
struct PrinterChoice;
class TdBSettingForm;

// The program's home: the log grid of one aircraft, the aircraft selector,
// the totals, the menus and the status bar. It owns start-up and shutdown;
// the store itself is reached through the database settings window.
class TSkelvoMainForm : public QMainWindow
{
    Q_OBJECT

public:
    // Runs FormCreate: fixes the settings file and reads the window
    // placement and the printer choice.
    explicit TSkelvoMainForm(const QString& iniFileName, QWidget* parent = nullptr);
    ~TSkelvoMainForm() override;

    // The long-lived windows created after this one.
    void setForms(TdBSettingForm* dbSetting, TInputForm* input, TPreferenceForm* preference);

    // Fields other windows read and change.
    QString IniFileName;
    Preferences preferences;
    QString PrinterName;
    int PrinterPaperSize = 13;
    int PrinterOrientation = 2;
    int PrinterBin = 7;
    QString LayoutFileName;
    bool LayoutChanged = false;
    PartialRange Part; // PartStart and PartEnd of the marked range
    QString DefaultYear;
    QString DefaultMonthDay;

    DataSource* DataSource1 = nullptr;
    TFixDBGrid* FixDBGrid1 = nullptr;
    QComboBox* ComboBox1 = nullptr;

    void UpdateStatusBar();
    void TableOpenActionExecute();
    void TableCloseActionExecute();
    void DataRefreshActionExecute();
    void CalcReleaseActionExecute();
    void CalcStartActionExecute();
    void CalcEndActionExecute();
    void CalcPartActionExecute();
    void CalcAllActionExecute();
    void CalcTotals(int from);
    void ShowTotals();
    // What is due next for the open aircraft; follows every ShowTotals.
    void ShowMaintenance();
    void MaintenanceLimitsActionExecute();
    // Charts of the flying over the table's last twelve months or the marked rows.
    void StatisticsActionExecute();
    void DatabaseSettingActionExecute();
    void SetPreferenceActionExecute();
    void PrinterSettingActionExecute();
    void SkelvoPrintActionExecute();
    void EngineLogPrintActionExecute();
    void PropellerLogPrintActionExecute();

    // Grid layouts: applying and writing layout files, and the column
    // chooser beside the grid.
    void LoadGridLayout(const QString& fileName);
    void SaveGridLayout(const QString& fileName);
    void FillColumnChooser();
    void ColumnsEditActionExecute();
    void GridCustomSaveActionExecute();
    void GridCustomLoadActionExecute();
    void CheckListBox1Click();
    void CheckListBox1DblClick();
    void CheckListBox1EndDrag(int from, int to);
    void FixDBGrid1ColumnMoved();
    void SpeedButton1Click();
    TColumnChooserList* CheckListBox1 = nullptr;

    // The record routines: each opens the entry dialog or asks, writes the
    // change and recalculates from the changed row. Without an open table
    // they do nothing.
    void InsertEntry();
    void AppendEntry();
    void EditEntry();
    void DeleteEntry();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void rememberNormalPlacement();
    void FormShow();
    void FormClose();
    // Opens the table named in the selector; when the name is complete
    // the keys then go to the grid.
    void ComboBox1Change(const QString& text, bool nameComplete);
    bool selectorNameMayGrow(const QString& text) const;
    bool stepSelector(int key);
    // Which edition runs, and which settings file it keeps its choices in.
    void AboutActionExecute();
    void FixDBGrid1KeyDown(QKeyEvent* event, bool& handled);
    void FixDBGrid1KeyPress(QKeyEvent* event, bool& handled);
    void FixDBGrid1DblClick();
    void DBNavigator1Click(int button);
    void FixDBGrid1DrawColumnCell(const QModelIndex& index, bool focusCell,
                                  QStyleOptionViewItem& option);

    void runEntryRoutine(bool (*routine)(DataSet&, EntryRoutineContext&));
    void afterRowChange();
    [[noreturn]] void reopenAfterFailedPass(const QString& error);
    void markRange(void (PartialRange::*mark)(int), int PartialRange::*markField);
    void buildWidgets();
    void MaintenanceRowChosen(int row);
    void connectWidgets();
    void buildActions();
    void buildMenus();
    QAction* addAction(const char* name, const QString& caption);
    StoreConnections& store() const;
    DataSet* openDataSet() const;
    void applyDefaultColumns();
    void buildColumnChooser(QWidget* panel);
    void showLayoutFileError(const QString& fileName, const QString& error);

    // The print launch shared by the logs: makes the log's report over the
    // open table and previews it, the grid standing still meanwhile.
    using PrintFormMaker = std::function<std::unique_ptr<LogPrintForm>(DataSet&)>;
    void launchPrint(const PrintFormMaker& makeForm);
    PrinterChoice heldPrinterChoice() const;
    void holdPrinterChoice(const PrinterChoice& choice);
    QPrinter& printer();

    TdBSettingForm* dbSetting_ = nullptr;
    TInputForm* input_ = nullptr;
    TPreferenceForm* preference_ = nullptr;
    bool shown_ = false;
    QRect normalPlacement_; // frame position and inner size when not maximized
    bool selectorFollowsUser_ = true;
    bool noPrinterTold_ = false; // the logs say once per start that no printer is installed
    QLabel* statusPanels_[2] = {};
    QProgressBar* ProgressBar1 = nullptr; // shown while the totals are worked out
    QWidget* Panel1 = nullptr;
    QWidget* Panel3 = nullptr;
    std::array<QLineEdit*, 8> edits_{}; // Edit1 to Edit8
    TMaintenancePanel* MaintenancePanel1 = nullptr;
    QToolBar* DBNavigator1 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    std::unique_ptr<QPrinter> printer_; // made on first use: asking the print system takes time
};
