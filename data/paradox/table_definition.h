#pragma once

#include "data/paradox/paradox_table.h"
#include "data/paradox/table_header.h"

namespace paradox::codec {

class CodePage;

// Checks the fields of a table about to be created (names, types this codec
// writes, widths) and lays them out in a record, names encoded.
QList<FieldLayout> layoutFields(const QList<Field>& fields, const CodePage& codePage);

// The block size for records of this size: 4 KiB, or more for records that
// would not fit.
int blockSizeFor(int recordSize);

} // namespace paradox::codec
