#pragma once

#include "entry/clock_times.h"
#include "entry/entry_row.h"
#include "entry/text_limits.h"

#include <QDialog>
#include <array>
#include <functional>

class DataSet;
class DataSource;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPushButton;
class TDBEdit;
class TDBText;
struct Preferences;

// The entry dialog, where one flight row of the open table is entered or
// edited. The caller puts the row into insert or edit state and shows the
// dialog; "保存" stamps the row, writes it through saveRow and ends with OK.
// A row the store refuses keeps the dialog open with the error shown.
//
// Most boxes are bound to the row's columns. The five history boxes (crew,
// purpose, departure, arrival, remarks) hold their lists for the whole run
// and copy their text into the row when they are left. Leaving a clock-time
// box rewrites it as HH:MM and works out block and flight time.
class TInputForm : public QDialog
{
    Q_OBJECT

public:
    explicit TInputForm(QWidget* parent = nullptr);
    ~TInputForm() override;

    // What the dialog works on, all owned by the main window: the data
    // source of the open table, the preferences, the settings file that the
    // history lists are written to.
    void bind(DataSource* source, Preferences* preferences, const QString& iniFileName);

    // Set by the caller before each showing.
    QString TableName;   // the open table; its upper case is the registration mark
    QString DefaultYear; // written into yyyy when the dialog opens
    QString DefaultMonthDay;
    // Writes the stamped row; raises when the store refuses it. Without it,
    // "保存" only stamps the row and the caller posts it.
    std::function<void()> saveRow;
    // How much text each column of the open table holds; each box takes no
    // more than its column.
    TextLimits textLimits;

    // ComboBox1 to ComboBox5, in the order of the history list names.
    const std::array<QComboBox*, 5>& historyBoxes() const { return historyBoxes_; }

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QPushButton* Button1 = nullptr; // 保存
    QPushButton* Button2 = nullptr; // ｷｬﾝｾﾙ
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* ImeOnAction = nullptr;
    QAction* ImeOffAction = nullptr;
    QAction* CapsLockOnAction = nullptr;
    QAction* CapsLockOffAction = nullptr;

    void FormShow();
    void Button1Click();
    void ImeOnActionExecute();
    void ImeOffActionExecute();
    void CapsLockOnActionExecute();
    void CapsLockOffActionExecute();

public slots:
    // Every close, OK or cancel, writes the history lists.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLeftGroup();
    void buildRightGroup();
    void buildActions();
    TDBEdit* addEdit(int number, const char* column);
    QComboBox* addHistoryBox(int number);
    void buildTabOrder();
    void enableBox(TDBEdit* box, bool enabled, bool tabStop);
    DataSet* rows() const;
    void limitText(QLineEdit* box, const QString& column);

    void FormClose();
    bool DBEditKeyDown(QWidget* box, int key);
    void ComboBoxEnter(QComboBox* box);
    void ComboBoxChange();
    void ComboBoxExit(int index);
    void clockBoxExit(ClockTimes::Box box);
    TDBEdit* clockBox(ClockTimes::Box box) const { return edits_[7 + int(box)]; }
    ClockTimes::Boxes clockTexts() const;
    // Sends the focus back to a box whose text is refused and raises the
    // message naming it; the way back leaves no other box.
    [[noreturn]] void refuse(QWidget* box, const QString& message);
    // On save: every clock time a time of day, the date a real date, and the
    // times in order or confirmed. False when the user goes back to a box.
    bool entryChecked();
    void DBEditExit(TDBEdit* box);
    void CheckBoxClick(int index);
    void focusMoved(QWidget* from, QWidget* to);
    void boxLeft(QWidget* box);
    bool historyListKey(QComboBox* box, QKeyEvent* event);

    DataSource* source_ = nullptr;
    Preferences* preferences_ = nullptr;
    QString iniFileName_;
    bool openingRow_ = false;
    bool returning_ = false;    // the focus goes back to a refused box
    bool leaveRefused_ = false; // since the last save began
    std::array<QComboBox*, 5> historyBoxes_{};
    std::array<QString, 5> typedTexts_; // each history box's text as it was left
    std::array<TDBEdit*, 18> edits_{};  // DBEdit1 to DBEdit17 by number; 0 and 11 unused
    std::array<QCheckBox*, EntryRow::CheckCount> checks_{}; // CheckBox1 to CheckBox4
    std::array<TDBText*, 2> texts_{};                       // DBText1, DBText2
    QList<TextLimitValidator*> limits_;                     // one a box that takes text
};
