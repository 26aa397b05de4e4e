#pragma once

#include "data/bulk_insert.h"
#include "db/transfer_progress.h"

#include <QString>

class DataSet;

// Tables of the older edition: one Paradox table file per aircraft, with
// fields of other names ("no", "Mark", "Year", ...) and logical fields where
// the log table has 0/1 flags; 40 fields, or 41 with the power time.
namespace OldTable {

// Whether the open table is one: its first field is "no" and its second
// "Mark" (in any case).
bool isOldTable(const DataSet& table);

// Writes the table as CSV for the log table named mark: the data columns'
// header (with glider only when the table carries the power time), then
// each row's fields from "Mark" on, "Mark" replaced by the mark in upper
// case. Logical fields become 1 or 0; text stays as it is, a remark reading
// "true" included. The file is replaced only when complete. Returns the
// rows written.
int writeCsvFile(const DataSet& table, const QString& mark, const QString& fileName,
                 const TransferProgress& progress);

// Appends the rows to the log table through the connection, numbered ct
// from nextCt on with sb 0, the callsign being the log table's name in
// upper case. Fields are read by name. Raises SkelvoError naming the row
// (from 1) the store refuses; the rows before it stay, unless the log
// table's rows were to be replaced: then it keeps its old rows. Returns the
// rows added.
int transfer(const DataSet& table, const QString& connectionName, const QString& logTable,
             int nextCt, const TransferProgress& progress,
             ExistingRows existing = ExistingRows::Kept);

} // namespace OldTable
