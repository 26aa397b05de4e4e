#pragma once

#include "paradox/paradox_table.h"

#include <QByteArray>
#include <QList>

class QIODevice;

namespace paradox::codec {

// Memo, formatted memo, binary, OLE and graphic fields: a leader in the
// record, the rest of the value in the memo file.
bool isBlobType(FieldType type);

// After a blob's leader: where in the memo file the value is, its length and
// its modification number.
constexpr int BlobTailSize = 10;

struct FieldLayout
{
    FieldType type = FieldType::Alpha;
    int size = 0;     // bytes in the record
    int decimals = 0; // Bcd only: digits after the point
    int offset = 0;   // where the field starts in the record
    QByteArray name;  // in the table's code page
};

// What the header of a table file (.DB) says about the table.
struct TableHeader
{
    int recordSize = 0;
    int headerSize = 0;
    int fileType = 0;
    int blockSize = 0;
    int formatVersion = 0; // 30, 35, 40, 50 or 70
    int fixedSize = 0;     // the part with fixed offsets, counters included
    qint32 recordCount = 0;
    int usedBlocks = 0;
    int fileBlocks = 0;
    int firstBlock = 0;
    int lastBlock = 0;
    int firstFreeBlock = 0;
    int keyFields = 0;
    bool encrypted = false;
    int codePage = 0;         // as stored; 0 where the format has none
    qint32 autoIncrement = 0; // the last number given out
    QList<FieldLayout> fields;

    // File type 0: records kept in key order, with a primary index beside.
    bool keyed() const;
    // Same record layout, so that rows built for one fit the other.
    bool sameLayout(const TableHeader& other) const;
};

// Reads and checks the header of an open table file.
TableHeader readTableHeader(QIODevice& file, const QString& fileName);

// Writes the header's record and block counters, its last autoincrement
// number and the time of this change into the fixed part of its bytes.
void putCounters(const TableHeader& header, QByteArray& fixedPart);

// The longest table name a Paradox 7 header holds.
constexpr int MaxTableNameBytes = 260;

// The header of a new, empty, non-keyed table in the format Paradox 7
// writes. Field names and the table name are in the given code page.
QByteArray newTableHeader(const QList<FieldLayout>& fields, const QByteArray& tableName,
                          int codePage, int blockSize);

} // namespace paradox::codec
