#include "core/error.h"
#include "core/history_list.h"
#include "core/preferences.h"
#include "core/settings_file.h"
#include "core/settings_keys.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "entry/db_controls.h"
#include "entry/entry_date.h"
#include "entry/input_form.h"
#include "entry/input_modes.h"
#include "ui/command_guard.h"
#include "ui/message_box.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <algorithm>

// What the entry dialog does as it is shown, typed in, left and saved.

namespace {

// Within a widget, its pop-ups (a combo box's list) included.
bool within(const QWidget* ancestor, const QWidget* widget)
{
    for (; widget; widget = widget->parentWidget()) {
        if (widget == ancestor)
            return true;
    }
    return false;
}

bool inPopup(const QWidget* widget)
{
    return widget->window()->windowType() == Qt::Popup;
}

QStringList items(const QComboBox* box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

} // namespace

DataSet* TInputForm::rows() const
{
    DataSet* rows = source_ ? source_->dataSet() : nullptr;
    return rows && rows->isOpen() && rows->recNo() > 0 ? rows : nullptr;
}

void TInputForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    runCommand(this, [this] { FormShow(); });
}

void TInputForm::FormShow()
{
    if (preferences_->UseIME)
        ImeOnAction->trigger();
    else
        ImeOffAction->trigger();
    if (preferences_->UseCapsLock)
        CapsLockOnAction->trigger();
    else
        CapsLockOffAction->trigger();

    DataSet* row = rows();
    openingRow_ = row && EntryRow::isOpeningRow(*row);
    setWindowTitle(EntryRow::dialogTitle(TableName, row && row->state() == DataSet::State::Insert));
    const EntryRow::Checks rowChecks = row ? EntryRow::checksOf(*row) : EntryRow::Checks{};
    const EntryRow::BoxStates states = EntryRow::boxStates(openingRow_, *preferences_, rowChecks);
    enableBox(edits_[3], states.power, true);
    for (int number = 7; number <= 10; ++number)
        enableBox(edits_[number], states.clockTimes, true);
    for (int i = 0; i < EntryRow::CheckCount; ++i)
        checks_[i]->setChecked(states.checks[i]);
    for (int pair = 0; pair < 3; ++pair) {
        for (int k = 0; k < 2; ++k)
            enableBox(edits_[12 + pair * 2 + k], states.totalPairs[pair], true);
    }

    if (row) {
        row->setValue(u"yyyy", DefaultYear);
        row->setValue(u"mmdd", DefaultMonthDay);
        for (QComboBox* box : historyBoxes_)
            box->setEditText(row->asString(box->property("column").toString()));
    }
    if (!states.engineStartStopTabStops) {
        edits_[7]->setFocusPolicy(Qt::ClickFocus);
        edits_[10]->setFocusPolicy(Qt::ClickFocus);
    }
    for (TextLimitValidator* limit : limits_)
        limit->setLimit(textLimits.value(limit->column()));
    edits_[1]->setFocus(Qt::OtherFocusReason);
    edits_[1]->selectAll();
}

void TInputForm::ImeOnActionExecute()
{
    ImeOnAction->setChecked(true);
    InputModes::of(historyBoxes_[0])->setIme(InputModes::Ime::Open);
    preferences_->UseIME = true;
}

void TInputForm::ImeOffActionExecute()
{
    ImeOffAction->setChecked(true);
    InputModes::of(historyBoxes_[0])->setIme(InputModes::Ime::Unchanged);
    preferences_->UseIME = false;
}

void TInputForm::CapsLockOnActionExecute()
{
    CapsLockOnAction->setChecked(true);
    for (int i = 1; i <= 3; ++i)
        InputModes::of(historyBoxes_[i])->setUpperCase(true);
    preferences_->UseCapsLock = true;
}

void TInputForm::CapsLockOffActionExecute()
{
    CapsLockOffAction->setChecked(true);
    for (int i = 1; i <= 3; ++i)
        InputModes::of(historyBoxes_[i])->setUpperCase(false);
    preferences_->UseCapsLock = false;
}

void TInputForm::CheckBoxClick(int index)
{
    const bool ticked = checks_[index]->isChecked();
    const bool open = EntryRow::totalPairEnabled(openingRow_, ticked);
    TDBEdit* sinceManufacture = edits_[12 + index * 2];
    enableBox(sinceManufacture, open, open);
    enableBox(edits_[13 + index * 2], open, open);
    if (ticked)
        sinceManufacture->setFocus(Qt::OtherFocusReason);
}

bool TInputForm::eventFilter(QObject* watched, QEvent* event)
{
    const auto list =
        std::find_if(historyBoxes_.begin(), historyBoxes_.end(),
                     [watched](const QComboBox* box) { return box->view() == watched; });
    if (list != historyBoxes_.end())
        return event->type() == QEvent::KeyPress &&
               historyListKey(*list, static_cast<QKeyEvent*>(event));
    const auto history = std::find(historyBoxes_.begin(), historyBoxes_.end(), watched);
    if (history != historyBoxes_.end() && event->type() == QEvent::FocusOut) {
        // The box itself turns a text that matches an entry but for the
        // case of its letters into that entry when it loses the focus.
        typedTexts_[history - historyBoxes_.begin()] = (*history)->currentText();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    return DBEditKeyDown(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event)->key());
}

// Entering and leaving a box are moves of the focus between controls of the
// dialog: a pop-up opening or closing, or the dialog closing or losing the
// focus, neither leaves nor enters one. A history box's list counts as the
// box.
void TInputForm::focusMoved(QWidget* from, QWidget* to)
{
    const auto owner = [this](QWidget* widget) {
        for (QComboBox* box : historyBoxes_) {
            if (within(box, widget))
                return static_cast<QWidget*>(box);
        }
        return widget;
    };
    from = owner(from);
    to = owner(to);
    if (returning_ || !from || !to || from == to || !isVisible() || !within(this, from) ||
        !within(this, to) || inPopup(from) || inPopup(to))
        return;
    if (!runCommand(this, [this, from] { boxLeft(from); }))
        return;
    if (auto* combo = qobject_cast<QComboBox*>(to);
        combo &&
        std::find(historyBoxes_.begin(), historyBoxes_.end(), combo) != historyBoxes_.end())
        ComboBoxEnter(combo);
}

// Enter, the arrows and HOME move through the boxes instead of editing.
bool TInputForm::DBEditKeyDown(QWidget* box, int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (preferences_->AutoBlockTime && box == historyBoxes_[3])
            edits_[8]->setFocus(Qt::TabFocusReason);
        else if (preferences_->AutoBlockTime && box == edits_[9])
            historyBoxes_[4]->setFocus(Qt::TabFocusReason);
        else
            focusNextPrevChild(true);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        focusNextPrevChild(key == Qt::Key_Down);
        return true;
    case Qt::Key_Home:
        if (box == historyBoxes_[2] || box == historyBoxes_[3])
            static_cast<QComboBox*>(box)->setEditText(preferences_->Home);
        return true;
    default:
        return false;
    }
}

// Delete on a dropped-down list removes the entry under the cursor; the box
// keeps its text. Typing closes the list and goes on in the box, which
// completes it from the list.
bool TInputForm::historyListKey(QComboBox* box, QKeyEvent* event)
{
    const QModelIndex entry = box->view()->currentIndex();
    if (event->key() == Qt::Key_Delete && entry.isValid()) {
        const QString shown = box->currentText();
        box->removeItem(entry.row());
        box->setEditText(shown);
        return true;
    }
    const bool typing = event->key() == Qt::Key_Backspace ||
                        (!event->text().isEmpty() && event->text().at(0).isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (!typing)
        return false;
    box->hidePopup();
    QCoreApplication::sendEvent(box, event);
    return true;
}

void TInputForm::ComboBoxEnter(QComboBox* box)
{
    if (!openingRow_ && box->count() > 0 && box->currentText().isEmpty())
        box->showPopup();
}

void TInputForm::ComboBoxChange()
{
    ComboBoxEnter(historyBoxes_[0]);
}

void TInputForm::boxLeft(QWidget* box)
{
    if (!rows())
        return;
    const auto history = std::find(historyBoxes_.begin(), historyBoxes_.end(), box);
    if (history != historyBoxes_.end()) {
        ComboBoxExit(int(history - historyBoxes_.begin()));
        return;
    }
    auto* edit = qobject_cast<TDBEdit*>(box);
    if (!edit)
        return;
    const int number = int(std::find(edits_.begin(), edits_.end(), edit) - edits_.begin());
    if (number >= 7 && number <= 10)
        clockBoxExit(ClockTimes::Box(number - 7));
    else if (number >= 12 || number == 3)
        DBEditExit(edit);
}

void TInputForm::ComboBoxExit(int index)
{
    // The opening row's boxes neither fill the row nor teach the lists.
    if (openingRow_)
        return;
    QComboBox* box = historyBoxes_[index];
    QStringList list = items(box);
    QString typed = box->currentText();
    if (typed.compare(typedTexts_[index], Qt::CaseInsensitive) == 0)
        typed = typedTexts_[index]; // in the case it was typed
    const QString text = Myutyfunc::AddHistoryItem(typed, list);
    box->clear();
    box->addItems(list);
    box->setEditText(text);
    rows()->setValue(box->property("column").toString(), text);
}

ClockTimes::Boxes TInputForm::clockTexts() const
{
    using ClockTimes::Box;
    return {clockBox(Box::EngineStart)->text(), clockBox(Box::TakeOff)->text(),
            clockBox(Box::Landing)->text(), clockBox(Box::EngineStop)->text()};
}

void TInputForm::refuse(QWidget* box, const QString& message)
{
    leaveRefused_ = true;
    {
        const QScopedValueRollback back(returning_, true);
        box->setFocus(Qt::OtherFocusReason);
    }
    throw SkelvoError(message);
}

namespace {

QString notATimeOfDay(ClockTimes::Box box, const QString& typed)
{
    return QStringLiteral("「%1」の「%2」は時刻として読めません。00:00 から 23:59 "
                          "までの時刻を入れてください（930 は 09:30）。")
        .arg(ClockTimes::nameOf(box), typed);
}

} // namespace

void TInputForm::clockBoxExit(ClockTimes::Box left)
{
    if (!ClockTimes::timeOfDay(clockBox(left)->text()))
        refuse(clockBox(left), notATimeOfDay(left, clockBox(left)->text()));
    const ClockTimes::Leave leave = ClockTimes::leaveBox(
        left, clockTexts(), {preferences_->AutoBlockTime, preferences_->AutoOffsetTime});
    const auto texts = leave.boxes.inOrder();
    for (int i = 0; i < ClockTimes::BoxCount; ++i) {
        TDBEdit* box = clockBox(ClockTimes::Box(i));
        if (box->text() != texts[i] || i == int(left))
            box->setFieldText(texts[i]);
    }
    DataSet* row = rows();
    if (leave.blocktime)
        row->setValue(u"blocktime", *leave.blocktime);
    if (leave.flighttime) {
        for (QStringView column : {u"flighttime", u"e_flighttime", u"p_flighttime"})
            row->setValue(column, *leave.flighttime);
    }
}

void TInputForm::DBEditExit(TDBEdit* box)
{
    const bool power = box == edits_[3];
    const auto time = power ? ClockTimes::normalizePowerTime(box->text())
                            : ClockTimes::typedDuration(box->text());
    if (!time) {
        static const char* const totalNames[] = {"機体航行時間 製造後", "機体航行時間 ＯＨ後",
                                                 "エンジン時間 製造後", "エンジン時間 ＯＨ後",
                                                 "プロペラ時間 製造後", "プロペラ時間 ＯＨ後"};
        const int number = int(std::find(edits_.begin(), edits_.end(), box) - edits_.begin());
        refuse(box, QStringLiteral("「%1」の「%2」は時間として読めません（1234:56 か 123456 "
                                   "のように入れてください）。")
                        .arg(power ? QStringLiteral("動力(+/-)")
                                   : QString::fromUtf8(totalNames[number - 12]),
                             box->text()));
    }
    box->setFieldText(*time);
}

bool TInputForm::entryChecked()
{
    const ClockTimes::Boxes times = clockTexts();
    const auto texts = times.inOrder();
    for (int i = 0; i < ClockTimes::BoxCount && !openingRow_; ++i) {
        const auto box = ClockTimes::Box(i);
        if (!ClockTimes::timeOfDay(texts[i]))
            refuse(clockBox(box), notATimeOfDay(box, texts[i]));
    }
    if (const auto problem = EntryDate::check(edits_[1]->text(), edits_[2]->text()))
        refuse(edits_[problem->box == EntryDate::Box::Year ? 1 : 2], problem->message);
    const ClockTimes::Order order = ClockTimes::checkOrder(times);
    if (openingRow_ || order.holds() ||
        MessageBox::askYesNo(this, order.question(times), MessageBox::Answer::No))
        return true;
    clockBox(order.firstBox(times))->setFocus(Qt::OtherFocusReason);
    return false;
}

void TInputForm::Button1Click()
{
    leaveRefused_ = false;
    runCommand(this, [this] {
        // Leaving the box being typed in runs its leave rules first.
        Button1->setFocus(Qt::OtherFocusReason);
        DataSet* row = rows();
        if (!row || leaveRefused_ || !entryChecked())
            return;
        for (TDBEdit* box : edits_) {
            if (box)
                box->commit();
        }
        EntryRow::Checks checks{};
        for (int i = 0; i < EntryRow::CheckCount; ++i)
            checks[i] = checks_[i]->isChecked();
        EntryRow::stamp(*row, TableName, checks);
        if (saveRow)
            saveRow();
        accept();
    });
}

void TInputForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TInputForm::FormClose()
{
    for (int i = 0; i < int(historyBoxes_.size()); ++i)
        MyutyFiles::WriteHistoryList(iniFileName_, Settings::HistorySection,
                                     QString::fromLatin1(Settings::HistoryListNames[i]),
                                     items(historyBoxes_[i]));
}
