#pragma once

#include "paradox/paradox_table.h"
#include "paradox/table_header.h"

namespace paradox::codec {

class CodePage;
class MemoWriter;

// Whether this codec writes values of the type.
bool writesType(FieldType type);

// The letter Paradox shows for the type (A, N, $, #, M, …).
QString typeLetter(FieldType type);

// What a record held before it is replaced: a value that did not change keeps
// its bytes (a memo stays where it is), and an autoincrement number stays.
struct PreviousRecord
{
    QByteArray bytes;
    Row values;
};

// The bytes of one record holding the row's values, each converted to its
// field's type. Text is cut to an Alpha field's width at a character
// boundary; memo text longer than its leader goes to the memo writer, which
// may be null when the table has no memo file. Errors name the field.
QByteArray writeRecord(const TableHeader& header, const QList<Field>& fields, const Row& row,
                       const CodePage& codePage, MemoWriter* memo,
                       const PreviousRecord* previous = nullptr);

} // namespace paradox::codec
