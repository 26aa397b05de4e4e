#pragma once

#include "data/bulk_insert.h"
#include "db/store_connections.h"
#include "db/transfer_progress.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class DataSet;
class ProgressShown;
class QAction;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QToolButton;
class TFolderDialog;

// The database settings window: the connection settings of the store in
// use and the aircraft tables in it. It owns the connections and row-sets
// (store()) through which the rest of the program reaches the log table,
// lives for the whole run and writes its settings back whenever it closes.
class TdBSettingForm : public QDialog
{
    Q_OBJECT

public:
    TdBSettingForm(const QString& iniFileName, QWidget* parent);
    ~TdBSettingForm() override;

    StoreConnections& store() { return *store_; }
    const QString& iniFileName() const { return iniFileName_; }

    QAction* ExitAction;
    QAction* GetTabelNamesAction;
    QAction* SelectTableAction;
    QAction* DeleteTableAction;
    QAction* CreateTableAction;
    QAction* ParadoxOpenAction;
    QAction* WriteCsvFileAction;
    QAction* ReadCsvFileAction;
    QAction* OldTableSaveToNewAction;
    QAction* OldTableWriteCsvFileAction;
    QAction* OldTableReadAction;
    QAction* OldTableCloseAction;

    TFolderDialog* FolderDialog1;

public slots:
    void FormCreate();
    void FormShow();
    void FormClose();

    void ComboBox1Change(int index);
    void Button1Click();
    void LabeledEdit1Change();
    void LabeledEdit2Change();
    void LabeledEdit3Change();
    void LabeledEdit4Change();
    void LabeledEdit2DblClick();
    void LabeledEdit5Change(const QString& text);

    void ExitActionExecute();
    void ParadoxOpenActionExecute();
    void GetTabelNamesActionExecute();
    void SelectTableActionExecute();
    void DeleteTableActionExecute();
    void CreateTableActionExecute();
    void WriteCsvFileActionExecute();
    void ReadCsvFileActionExecute();
    void OldTableReadActionExecute();
    void OldTableCloseActionExecute();
    void OldTableWriteCsvFileActionExecute();
    void OldTableSaveToNewActionExecute();

    void ShowSettings();
    void TakeSettings();
    // The result of the store's last connect, whoever made it (this window,
    // a listing, the main window while this window was closed): "OK", or
    // "NG" with the store's reason as tooltip and status bar message;
    // nothing before the first attempt.
    void ShowConnectionState();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public:
    // Every way of closing (the close action, Escape, the title bar) ends
    // here, so the settings are written whichever way the window goes.
    void done(int result) override;

private:
    void createActions();
    void createWidgets();
    QGroupBox* createDatabaseGroup();
    QGroupBox* createTableGroup();
    QGroupBox* createConvertGroup();
    void createStatusBar();
    void setEditShown(int edit, bool shown);
    void setKindLayout(int kind);
    void centreOverParent();
    void hideConnectionState();

    void refreshTableList();
    void clearTableList();
    void updatePopupAttachment();
    QString selectedTableName() const;
    std::optional<QString> askTableName();
    void showCreateFailure(const QString& message);
    // A file from the open or save dialog; empty when cancelled.
    QString chooseFile(bool save, const QString& title, const QString& proposed,
                       const QString& filter, const QString& suffix);
    // Connects when not yet connected; whether the store is connected.
    bool connectStore();
    QString chooseCsvFile(bool save);
    // Empty when the store cannot be reached or the dialog is cancelled.
    QString connectAndChooseCsvFile(bool save);
    // Progress on the status bar: the bar and "Out: %d" / "Add: %d".
    TransferProgress statusProgress(const char* counter, ProgressShown& shown);
    QStringList logTableColumns();
    // Whether an import replaces the table's rows ("データを消去しますか？").
    ExistingRows askErase();
    // The ct of the first row added: 1 when the rows are replaced, else the
    // one after the table's last row.
    int firstNewCt(ExistingRows existing);

    QString iniFileName_;
    std::unique_ptr<StoreConnections> store_;

    QMenuBar* menuBar_ = nullptr;
    QHBoxLayout* groupRow_ = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLineEdit* LabeledEdit[6] = {}; // 1 to 5
    QLabel* editLabel_[6] = {};
    QWidget* editBox_[6] = {};
    QPushButton* Button1 = nullptr;
    QLabel* Label1 = nullptr;
    QToolButton* ParadoxOpenButton = nullptr;
    QPushButton* Button2 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel_[2] = {};
    QProgressBar* ProgressBar1 = nullptr;
    std::unique_ptr<DataSet> Table1; // an older edition's table while one is open
};
