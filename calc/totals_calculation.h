#pragma once

#include <QString>
#include <functional>

class DataSet;
struct Preferences;

// The running totals of the open log table: airframe, engine and propeller
// time since manufacture and since the last overhaul, derived row by row in
// table order from the opening row's starting totals and the overhaul rows'
// typed totals.

// Recalculates the totals from a row down to the last row. from 0 starts at
// the top of the table; any other value at the current row. The opening row
// (first in table order) only gives the starting totals and is never
// rewritten. Only rows whose values change are written. Afterwards the
// current row is the one that was current before, also when a write fails
// (the error is raised after the rows before it stay written; where the
// row-set holds changes, those the store did not take are dropped, so every
// row shows what the table holds). Does nothing
// when rows is not open. progress, when given, hears how many of the rows
// to do are done, after each row and once at the end.
using PassProgress = std::function<void(int done, int total)>;
void CalcTotals(DataSet& rows, const Preferences& preferences, int from,
                const PassProgress& progress = {});

// The last row's six running totals, as the summary boxes show them.
struct Totals
{
    QString sincema;
    QString sinceov;
    QString e_sincema;
    QString e_sinceov;
    QString p_sincema;
    QString p_sinceov;

    bool operator==(const Totals&) const = default;
};

// The last row's totals in table order (empty stays empty); empty Totals
// when rows is not open or has no row. The current row does not move.
Totals ShowTotals(DataSet& rows);
