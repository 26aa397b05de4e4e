#pragma once

#include "paradox/table_header.h"

#include <QByteArray>
#include <QList>

class QIODevice;

namespace paradox::codec {

// Each data block starts with the numbers of the next and the previous block
// and the amount of data it holds beyond one record.
constexpr int BlockHeadSize = 6;

struct DataBlock
{
    int number = 0;    // 1 for the block that follows the header
    qint64 offset = 0; // of the block in the file
    int recordCount = 0;
    int next = 0;
    int previous = 0;
};

qint64 blockOffset(const TableHeader& header, int number);
int recordsPerBlock(const TableHeader& header);
qint64 recordOffset(const DataBlock& block, int index, int recordSize);

// Reads the head of one block; a block whose records are not all in the
// file, or that states more data than it can hold, is an error. The file
// may end before the end of the block.
DataBlock readBlockHead(QIODevice& file, const TableHeader& header, int number,
                        const QString& fileName);

// The data blocks in table order: from the header's first block along the
// next pointers, which need not follow the order in the file. A pointer out
// of the file or back to a block already passed is an error, and so is a
// header whose record count, block count or last block disagrees with the
// chain.
QList<DataBlock> readBlockChain(QIODevice& file, const TableHeader& header,
                                const QString& fileName);

QByteArray blockHead(int next, int previous, int recordCount, int recordSize);

} // namespace paradox::codec
