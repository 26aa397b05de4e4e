#pragma once

#include "paradox/paradox_table.h"
#include "paradox/table_header.h"

namespace paradox::codec {

class CodePage;
class MemoFile;

// The values of one record. A field whose bytes are all zero is null. Blob
// values longer than their leader come from the memo file, which may be
// missing (null) as long as no value needs it.
Row readRecord(const TableHeader& header, const QList<Field>& fields, const char* record,
               const CodePage& codePage, MemoFile* memo, const QString& fileName);

} // namespace paradox::codec
