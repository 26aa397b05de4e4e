#include "paradox/block_chain.h"

#include "paradox/table_error.h"

#include <QIODevice>
#include <QtEndian>
#include <vector>

namespace paradox::codec {

qint64 blockOffset(const TableHeader& header, int number)
{
    return header.headerSize + qint64(number - 1) * header.blockSize;
}

int recordsPerBlock(const TableHeader& header)
{
    return (header.blockSize - BlockHeadSize) / header.recordSize;
}

qint64 recordOffset(const DataBlock& block, int index, int recordSize)
{
    return block.offset + BlockHeadSize + qint64(index) * recordSize;
}

DataBlock readBlockHead(QIODevice& file, const TableHeader& header, int number,
                        const QString& fileName)
{
    DataBlock block;
    block.number = number;
    block.offset = blockOffset(header, number);
    if (number < 1 || block.offset + BlockHeadSize > file.size())
        raiseTableError(fileName,
                        QStringLiteral("ブロック %1 はファイルの外にあります。").arg(number));
    char head[BlockHeadSize];
    if (!file.seek(block.offset) || file.read(head, BlockHeadSize) != BlockHeadSize)
        raiseTableError(fileName, file.errorString());
    block.next = qFromLittleEndian<quint16>(head);
    block.previous = qFromLittleEndian<quint16>(head + 2);
    // The data beyond one record: negative when the block holds none.
    const int addDataSize = qFromLittleEndian<qint16>(head + 4);
    block.recordCount = addDataSize < 0 ? 0 : addDataSize / header.recordSize + 1;
    if (block.recordCount > recordsPerBlock(header))
        raiseTableError(fileName, QStringLiteral("ブロック %1 のデータ量 %2 がブロックに"
                                                 "収まりません。")
                                      .arg(number)
                                      .arg(addDataSize));
    // Some writers end the file right after the last record of its final
    // block rather than at the end of the block.
    if (recordOffset(block, block.recordCount, header.recordSize) > file.size())
        raiseTableError(
            fileName,
            QStringLiteral("ブロック %1 のレコードがファイルの終わりで切れています。").arg(number));
    return block;
}

namespace {

// A write goes to the header's last block, and a new block takes the number
// after the header's block count: where these disagree with the chain, a
// written record would land off the chain, or over one of its blocks, and
// be lost although the write succeeded.
void checkCounters(const QList<DataBlock>& chain, const TableHeader& header,
                   const QString& fileName)
{
    qint64 records = 0;
    for (const DataBlock& block : chain) {
        if (block.number > header.fileBlocks)
            raiseTableError(fileName, QStringLiteral("ブロック %1 がヘッダーの示すブロック数 %2 を"
                                                     "超えています。")
                                          .arg(block.number)
                                          .arg(header.fileBlocks));
        records += block.recordCount;
    }
    if (records != header.recordCount)
        raiseTableError(fileName, QStringLiteral("ヘッダーのレコード数 %1 がブロックのつながりに"
                                                 "あるレコード数 %2 と合いません。")
                                      .arg(header.recordCount)
                                      .arg(records));
    // A keyed table, which is not written here, splits and relinks its
    // blocks; only where rows are appended must the last block be the
    // chain's.
    const int last = chain.isEmpty() ? 0 : chain.last().number;
    if (!header.keyed() && header.fileBlocks > 0 && header.lastBlock != last)
        raiseTableError(fileName, QStringLiteral("ヘッダーの最後のブロック %1 がブロックの"
                                                 "つながりの最後のブロック %2 と合いません。")
                                      .arg(header.lastBlock)
                                      .arg(last));
}

} // namespace

QList<DataBlock> readBlockChain(QIODevice& file, const TableHeader& header, const QString& fileName)
{
    QList<DataBlock> chain;
    if (header.fileBlocks == 0) {
        checkCounters(chain, header, fileName);
        return chain;
    }
    // The last may be only partly in the file.
    const qint64 blocksInFile =
        (file.size() - header.headerSize + header.blockSize - 1) / header.blockSize;
    std::vector<bool> passed(size_t(blocksInFile) + 1, false);
    for (int number = header.firstBlock; number != 0;) {
        if (number <= blocksInFile && passed[size_t(number)])
            raiseTableError(fileName, QStringLiteral("ブロックのつながりがブロック %1 で"
                                                     "輪になっています。")
                                          .arg(number));
        const DataBlock block = readBlockHead(file, header, number, fileName);
        passed[size_t(number)] = true;
        chain.append(block);
        number = block.next;
    }
    checkCounters(chain, header, fileName);
    return chain;
}

QByteArray blockHead(int next, int previous, int recordCount, int recordSize)
{
    QByteArray head(BlockHeadSize, '\0');
    qToLittleEndian(quint16(next), head.data());
    qToLittleEndian(quint16(previous), head.data() + 2);
    qToLittleEndian(qint16((recordCount - 1) * recordSize), head.data() + 4);
    return head;
}

} // namespace paradox::codec
