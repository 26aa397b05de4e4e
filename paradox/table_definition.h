#pragma once

#include "paradox/paradox_table.h"
#include "paradox/table_header.h"

namespace paradox::codec {

class CodePage;

// Checks the fields of a table about to be created (names, types this codec
// writes, widths) and lays them out in a record, names encoded.
QList<FieldLayout> layoutFields(const QList<Field>& fields, const CodePage& codePage);

// The block size of new tables: the largest a level 7 table has (32 KiB),
// which every reader of that level (pxlib among them) takes. A log record
// of 2,430 bytes then fills 13 of every 14 parts of a block, and the 65,535
// blocks a table can have hold over 850,000 records (one record per 4 KiB
// block held 65,535 and wasted 40 % of the disk).
inline constexpr int NewTableBlockSize = 32 * 1024;

} // namespace paradox::codec
