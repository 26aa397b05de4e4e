#pragma once

#include "paradox/block_chain.h"
#include "paradox/table_header.h"

#include <QList>

namespace paradox::codec {

// The blocks of a table's chain as last read: how many records each holds,
// with the header's counters and the file's size they were read under. A
// change in place moves no block, so the counts stay good until the
// counters change; this program's own appends keep them up to date. They
// tell where records start without walking the chain again.
class ChainCounts
{
public:
    void know(const QList<DataBlock>& chain, const TableHeader& header, qint64 fileSize);
    bool current(const TableHeader& header, qint64 fileSize) const;
    void forget();

    // Whether a record of the chain starts at the position; the counts must
    // be current.
    bool holdsRecord(const TableHeader& header, qint64 position) const;

    // One record appended at the position, which took the header and the
    // file from before to after; counts current before stay current.
    void appended(const TableHeader& before, qint64 sizeBefore, const TableHeader& after,
                  qint64 sizeAfter, qint64 position);

private:
    QList<qint64> key_;
    QList<int> counts_; // by block number; -1 for a block not in the chain
};

} // namespace paradox::codec
