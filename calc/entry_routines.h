#pragma once

#include <QDate>
#include <QString>
#include <functional>

class DataSet;
class QWidget;

// The four routines that change the log one row at a time: insert before the
// current row, append after the last, edit the current row, delete it. The
// first three give a new row its ordering keys and defaults from its
// neighbour and open the entry dialog; all write the change back to the
// store with the write-back settings of their kind of change.
//
// Each returns true when a change reached the row-set and the table; the
// caller then recalculates from the current row, shows the totals and
// clears the marked range. On false nothing changed (cancelled, refused).
// The row is written when the dialog saves it, on every store at once: a
// row the store refuses stays in the dialog as typed, to be corrected or
// cancelled, and the row-set never keeps a row the table does not hold.
// A store error after the dialog (making room for an inserted row) is
// raised and the caller does not recalculate.

// What the routines need from the window that runs them.
struct EntryRoutineContext
{
    QDate today = QDate::currentDate();
    // The MySQL store's row-set expects 0 in a new row's id before the
    // server numbers it; the other stores leave it unset.
    bool zeroIdOnNewRows = false;
    // The date the entry dialog writes into the row when it opens; the
    // routine sets both before showing it.
    QString DefaultYear;
    QString DefaultMonthDay;
    // Shows the entry dialog modally over the current row; "保存" runs save,
    // and when save raises the dialog shows the error and stays open. True
    // when the row was saved.
    std::function<bool(const std::function<void()>& save)> showEntryDialog;
    // Closes and re-reads the table in key order (after an insertion).
    std::function<void()> refreshTable;
    // Parent of the question and warning boxes of DeleteEntry.
    QWidget* messageParent = nullptr;
};

// When the new row takes the keys of a row already in the table (inserted
// just before a row that was itself inserted), that row and the rows after
// it under the same ct move up one sb, so that the new row stays where it
// was put once the table is read again in key order.
bool InsertEntry(DataSet& rows, EntryRoutineContext& context);
bool AppendEntry(DataSet& rows, EntryRoutineContext& context);
// Does nothing without an open table holding a row.
bool EditEntry(DataSet& rows, EntryRoutineContext& context);
// Refuses the first row (the opening row) with a beep and a warning, asks
// before any other. Does nothing without an open table holding a row.
bool DeleteEntry(DataSet& rows, EntryRoutineContext& context);
