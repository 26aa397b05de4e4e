#include "paradox/chain_counts.h"

namespace paradox::codec {
namespace {

QList<qint64> keyOf(const TableHeader& header, qint64 fileSize)
{
    return {fileSize,          header.recordCount, header.usedBlocks, header.fileBlocks,
            header.firstBlock, header.lastBlock,   header.recordSize};
}

// The block a position lies in, by number, and its offset in that block.
QPair<qint64, qint64> placeOf(const TableHeader& header, qint64 position)
{
    const qint64 offset = position - header.headerSize;
    if (offset < 0)
        return {-1, 0};
    return {offset / header.blockSize + 1, offset % header.blockSize};
}

} // namespace

void ChainCounts::know(const QList<DataBlock>& chain, const TableHeader& header, qint64 fileSize)
{
    counts_.fill(-1, header.fileBlocks + 1);
    for (const DataBlock& block : chain) {
        if (block.number >= counts_.size())
            counts_.resize(block.number + 1, -1);
        counts_[block.number] = block.recordCount;
    }
    key_ = keyOf(header, fileSize);
}

bool ChainCounts::current(const TableHeader& header, qint64 fileSize) const
{
    return !key_.isEmpty() && key_ == keyOf(header, fileSize);
}

void ChainCounts::forget()
{
    key_.clear();
    counts_.clear();
}

bool ChainCounts::holdsRecord(const TableHeader& header, qint64 position) const
{
    const auto [number, offset] = placeOf(header, position);
    const qint64 inData = offset - BlockHeadSize;
    return number > 0 && number < counts_.size() && inData >= 0 &&
           inData % header.recordSize == 0 && inData / header.recordSize < counts_[number];
}

void ChainCounts::appended(const TableHeader& before, qint64 sizeBefore, const TableHeader& after,
                           qint64 sizeAfter, qint64 position)
{
    if (!current(before, sizeBefore))
        return;
    const qint64 number = placeOf(after, position).first;
    if (number >= counts_.size())
        counts_.resize(number + 1, -1);
    counts_[number] = qMax(counts_[number], 0) + 1;
    key_ = keyOf(after, sizeAfter);
}

} // namespace paradox::codec
