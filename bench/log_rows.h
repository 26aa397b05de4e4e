#pragma once

#include <QStringList>

// The log table the store benchmarks work on: an opening row with typed
// starting totals, then flights of 40 minutes' block time and 30 minutes'
// flight time, each row's engine and propeller time as the default counting
// rules derive it.
namespace bench {

class StoreTable;

// The six running totals' columns.
extern const QStringList TotalColumns;

enum class StoredTotals
{
    Right, // as a whole-table recalculation leaves them
    Stale, // every flight's six totals wrong
};

// Fills the empty table with rows rows (the opening row among them) in one
// bulk insert, and says on stderr how long that took.
void fillLog(StoreTable& table, int rows, StoredTotals totals);

// Makes every flight's six totals wrong again.
void spoilTotals(StoreTable& table);

} // namespace bench
