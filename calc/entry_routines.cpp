#include "calc/entry_routines.h"

#include "calc/entry_keys.h"
#include "core/error.h"
#include "data/data_set.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QScopeGuard>

namespace {

// How a change is written back: which of the key columns it writes and
// which find the row.
struct KeyWriteBack
{
    FieldFlags id;
    FieldFlags ct;
    FieldFlags sb;
    WhereMode whereMode;
};

// A new row: the store numbers id itself; ct and sb are written.
constexpr KeyWriteBack NewRowWrite{
    {false, false, false}, {true, true, true}, {true, true, true}, WhereMode::All};
// An edited row keeps its keys; they only find it.
constexpr KeyWriteBack EditWrite{
    {false, true, true}, {false, true, true}, {false, true, true}, WhereMode::KeyOnly};
constexpr KeyWriteBack DeleteWrite{
    {false, true, true}, {true, true, true}, {true, true, true}, WhereMode::KeyAndChanged};
// A row moved up one sb to make room for an inserted row.
constexpr KeyWriteBack MakeRoomWrite{
    {false, true, true}, {false, true, true}, {true, true, true}, WhereMode::KeyOnly};

void prepareWriteBack(DataSet& rows, const KeyWriteBack& settings)
{
    const std::pair<QStringView, FieldFlags> keys[] = {
        {u"id", settings.id}, {u"ct", settings.ct}, {u"sb", settings.sb}};
    for (const auto& [name, flags] : keys) {
        if (rows.fieldIndex(name) >= 0)
            rows.setFieldFlags(name, flags);
    }
    rows.setWhereMode(settings.whereMode);
}

// Suspends the bound controls until the returned guard goes, however the
// scope is left.
[[nodiscard]] auto suspendControls(DataSet& rows)
{
    rows.disableControls();
    return qScopeGuard([&rows] { rows.enableControls(); });
}

NeighbourRow currentNeighbour(const DataSet& rows)
{
    return {rows.asInteger(u"ct"), rows.asInteger(u"sb"), rows.asString(u"yyyy"),
            rows.asString(u"mmdd"), rows.asString(u"arrive")};
}

void offerDate(EntryRoutineContext& context, const DefaultDate& date)
{
    context.DefaultYear = date.year;
    context.DefaultMonthDay = date.monthDay;
}

// Writes the row being typed. A store that holds its changes is sent this
// one at once, so that the grid never shows a row the table does not hold.
// When the store refuses it, the row goes back to being typed, with what
// the user typed; cancelling then leaves what the table holds.
void saveRow(DataSet& rows, bool atEnd)
{
    if (rows.writeBack() != DataSet::WriteBack::Cached) {
        rows.post(); // a refused row stays in its editing state
        return;
    }
    const bool inserting = rows.state() == DataSet::State::Insert;
    const int recNo = rows.recNo();
    QList<QVariant> typed;
    for (int field = 0; field < rows.fieldCount(); ++field)
        typed.append(rows.valueAt(recNo - 1, field));
    rows.post();
    try {
        rows.applyUpdates();
    } catch (const SkelvoError&) {
        rows.cancelUpdates();
        rows.setRecNo(recNo);
        if (!inserting)
            rows.edit();
        else if (atEnd)
            rows.append();
        else
            rows.insert();
        for (int field = 0; field < rows.fieldCount(); ++field)
            rows.setValue(rows.fieldNames().at(field), typed[field]);
        throw;
    }
}

// Shows the entry dialog over the row being added or edited; the dialog
// saves the row, otherwise it goes back to how it was.
bool confirmAndSave(DataSet& rows, EntryRoutineContext& context, bool atEnd)
{
    const bool saved = context.showEntryDialog([&rows, atEnd] { saveRow(rows, atEnd); });
    if (!saved) {
        rows.cancel();
        return false;
    }
    if (rows.state() != DataSet::State::Browse)
        saveRow(rows, atEnd); // shown by a caller whose dialog does not save
    return true;
}

// Adds a row with its keys and defaults, before the current row or at the
// end, and lets the user fill it in.
bool addRow(DataSet& rows, EntryRoutineContext& context, const NewRowKeys& keys, bool atEnd)
{
    offerDate(context, keys.date);
    if (atEnd)
        rows.append();
    else
        rows.insert();
    if (context.zeroIdOnNewRows && rows.fieldIndex(u"id") >= 0)
        rows.setValue(u"id", 0);
    rows.setValue(u"yyyy", keys.date.year);
    rows.setValue(u"mmdd", keys.date.monthDay);
    rows.setValue(u"ct", keys.ct);
    rows.setValue(u"sb", keys.sb);
    rows.setValue(u"depart", keys.depart);
    return confirmAndSave(rows, context, atEnd);
}

// Moves the rows that hold the posted new row's keys, and those after them
// under the same ct, up one sb, so that the new row stays where it was
// inserted once the table is read again in key order. The current row
// stays the new row.
void makeRoomForNewRow(DataSet& rows)
{
    const int ctField = rows.fieldIndex(u"ct");
    const int sbField = rows.fieldIndex(u"sb");
    QList<RowKey> keys;
    keys.reserve(rows.recordCount());
    for (int i = 0; i < rows.recordCount(); ++i)
        keys.append({rows.valueAt(i, ctField).toInt(), rows.valueAt(i, sbField).toInt()});
    const int newRecNo = rows.recNo();
    const QList<qsizetype> moving = rowsMakingRoom(keys, newRecNo - 1);
    if (moving.isEmpty())
        return;

    const auto resume = suspendControls(rows);
    prepareWriteBack(rows, MakeRoomWrite);
    for (qsizetype index : moving) {
        rows.setRecNo(int(index) + 1);
        rows.edit();
        rows.setValue(u"sb", keys[index].sb + 1);
        try {
            rows.post();
        } catch (const SkelvoError&) {
            // The row keeps the keys the table holds; the new row is kept.
            rows.cancel();
            throw;
        }
    }
    rows.setRecNo(newRecNo);
}

} // namespace

bool InsertEntry(DataSet& rows, EntryRoutineContext& context)
{
    prepareWriteBack(rows, NewRowWrite);
    const int recNo = rows.recNo();
    NewRowKeys keys;
    {
        const auto resume = suspendControls(rows);
        rows.setRecNo(recNo);
        rows.prior();
        std::optional<NeighbourRow> previous;
        if (!rows.bof())
            previous = currentNeighbour(rows);
        keys = insertedRowKeys(previous, context.today);
        rows.setRecNo(recNo);
    }
    // sb 0 comes only after a row numbered sb -1, which sorts first under
    // its ct: the row goes to the end until the table is read again.
    if (!addRow(rows, context, keys, keys.sb == 0))
        return false;
    makeRoomForNewRow(rows);
    if (rows.writeBack() == DataSet::WriteBack::Cached && rows.changeCount() > 0) {
        try {
            rows.applyUpdates();
        } catch (const SkelvoError&) {
            rows.cancelUpdates(); // the rows keep the keys the table holds
            throw;
        }
    }
    // Read again in key order, where the new row stands at the old number.
    context.refreshTable();
    rows.setRecNo(recNo);
    return true;
}

bool AppendEntry(DataSet& rows, EntryRoutineContext& context)
{
    prepareWriteBack(rows, NewRowWrite);
    NewRowKeys keys;
    {
        const auto resume = suspendControls(rows);
        rows.last();
        std::optional<NeighbourRow> last;
        if (!rows.isEmpty())
            last = currentNeighbour(rows);
        keys = appendedRowKeys(last, context.today);
    }
    return addRow(rows, context, keys, true);
}

bool EditEntry(DataSet& rows, EntryRoutineContext& context)
{
    if (!rows.isOpen() || rows.isEmpty())
        return false;
    prepareWriteBack(rows, EditWrite);
    offerDate(context,
              editedRowDate(rows.asString(u"yyyy"), rows.asString(u"mmdd"), context.today));

    rows.edit();
    return confirmAndSave(rows, context, false);
}

bool DeleteEntry(DataSet& rows, EntryRoutineContext& context)
{
    if (!rows.isOpen() || rows.isEmpty())
        return false;
    // The opening row carries the starting totals.
    if (rows.recNo() == 1) {
        QApplication::beep();
        MessageBox::warn(context.messageParent, QStringLiteral("このデータは削除できません"));
        return false;
    }
    if (!MessageBox::askYesNo(context.messageParent, QStringLiteral("レコードを削除しますか？")))
        return false;
    prepareWriteBack(rows, DeleteWrite);
    rows.remove();
    return true;
}
