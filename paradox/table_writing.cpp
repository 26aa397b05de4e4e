#include "paradox/block_chain.h"
#include "paradox/field_reading.h"
#include "paradox/field_writing.h"
#include "paradox/in_place_write.h"
#include "paradox/memo_writer.h"
#include "paradox/rollback_journal.h"
#include "paradox/step_hook.h"
#include "paradox/table_data.h"
#include "paradox/table_files.h"
#include "paradox/table_lock.h"

#include <QSaveFile>
#include <QSet>
#include <limits>
#include <numeric>
#include <optional>

// The three writes. Each holds the table's lock, first rolls back what an
// interrupted write left, and reads the header again, so that counters and
// blocks are those on disk rather than those seen at opening.
namespace paradox {

using namespace codec;

namespace {

constexpr int MaxBlockNumber = 0xFFFF;

QByteArray readBytes(QIODevice& file, qint64 offset, qint64 length, const TableState& d)
{
    if (!file.seek(offset))
        d.fail(file.errorString());
    QByteArray bytes = file.read(length);
    if (bytes.size() != length)
        d.fail(QStringLiteral("位置 %1 から %2 バイトを読めません。").arg(offset).arg(length));
    return bytes;
}

std::optional<MemoWriter> memoWriterFor(const TableState& d)
{
    std::optional<MemoWriter> writer;
    const QString path = d.memoPath();
    if (!path.isEmpty())
        writer.emplace(*d.openForReading(path), path, d.openSubBlock);
    return writer;
}

// The fixed part of the header with the counters of `header` written in.
void putHeader(QIODevice& file, const TableHeader& header, InPlaceWrite& write, const TableState& d)
{
    QByteArray fixed = readBytes(file, 0, header.fixedSize, d);
    putCounters(header, fixed);
    write.put(d.path, 0, fixed);
    write.endStep("header written");
}

// The chain's blocks, which are thereby checked against the header. The
// chain is walked again only when the header's counters show that blocks
// changed other than by this program's own appends, so a run of writes
// stays linear in the table's size.
const ChainCounts& chainOf(QIODevice& file, TableState& d)
{
    if (!d.chain.current(d.header, file.size()))
        d.chain.know(readBlockChain(file, d.header, d.fileName), d.header, file.size());
    return d.chain;
}

bool holdsRecord(QIODevice& file, TableState& d, RecordPosition position)
{
    return chainOf(file, d).holdsRecord(d.header, position);
}

// A write's hold on the table: its lock, what an interrupted write left
// rolled back, and the header as it is on disk now. Within a transaction
// the transaction holds all that already.
struct WriteSession
{
    explicit WriteSession(TableState& d)
    {
        if (!d.transaction) {
            lock.emplace(d.path);
            rollBack(d.path);
        }
        table = d.openForReading(d.path);
        if (!d.transaction)
            d.refresh(*table);
    }

    // The table file, to read the table as it is now.
    QIODevice& file() const { return *table; }

    static PendingWrites* pending(TableState& d)
    {
        return d.transaction ? &d.transaction->pending() : nullptr;
    }

    // Once the write is in the transaction's pages.
    static void spillIfLarge(TableState& d)
    {
        if (d.transaction)
            d.transaction->spillIfLarge();
    }

    std::optional<TableLock> lock;
    std::unique_ptr<QIODevice> table;
};

// Takes the table's next autoincrement number for each such field.
Row withAutoIncrements(const Row& row, TableHeader& header, const TableState& d)
{
    Row values = row;
    for (qsizetype i = 0; i < header.fields.size(); ++i) {
        if (header.fields[i].type != FieldType::AutoIncrement)
            continue;
        if (header.autoIncrement == std::numeric_limits<qint32>::max())
            d.fail(QStringLiteral("自動採番の番号がヘッダーで上限 %1 に達しているため、行を"
                                  "追加できません。")
                       .arg(header.autoIncrement));
        values[i] = int(++header.autoIncrement);
    }
    return values;
}

// Puts the record after the last one: into the last block while it has
// room, else into a new block at the end of the file linked after it. The
// header's block counters follow.
RecordPosition placeRecord(QIODevice& file, TableHeader& header, const QByteArray& record,
                           InPlaceWrite& write, const TableState& d)
{
    // A file that ends within its last block, as some writers leave it, is
    // first made whole, so that the record and a new block land where every
    // reader looks for them.
    qint64 fileEnd = file.size();
    const qint64 blocksEnd = blockOffset(header, header.fileBlocks + 1);
    if (header.fileBlocks > 0 && fileEnd > blockOffset(header, header.fileBlocks) &&
        fileEnd < blocksEnd) {
        write.put(d.path, fileEnd, QByteArray(blocksEnd - fileEnd, '\0'));
        fileEnd = blocksEnd;
    }
    std::optional<DataBlock> last;
    if (header.fileBlocks > 0) {
        last = readBlockHead(file, header, header.lastBlock, d.fileName);
        if (last->next != 0)
            d.fail(QStringLiteral("最後のブロック %1 の後にもブロックがつながっています。")
                       .arg(last->number));
    }
    if (last && last->recordCount < recordsPerBlock(header)) {
        const RecordPosition position = recordOffset(*last, last->recordCount, header.recordSize);
        write.put(d.path, position, record);
        write.put(d.path, last->offset,
                  blockHead(last->next, last->previous, last->recordCount + 1, header.recordSize));
        return position;
    }
    // A new block at the end of the file, linked after the last one.
    const int number = header.fileBlocks + 1;
    const qint64 offset = blockOffset(header, number);
    if (number > MaxBlockNumber)
        d.fail(QStringLiteral("ブロック数が上限 (%1) に達しました。").arg(MaxBlockNumber));
    if (fileEnd < offset)
        d.fail(QStringLiteral("ファイルがヘッダーの示すブロック数 %1 より短くなっています。")
                   .arg(header.fileBlocks));
    QByteArray block(header.blockSize, '\0');
    block.replace(0, BlockHeadSize, blockHead(0, last ? last->number : 0, 1, header.recordSize));
    block.replace(BlockHeadSize, record.size(), record);
    write.put(d.path, offset, block);
    if (last)
        write.put(d.path, last->offset,
                  blockHead(number, last->previous, last->recordCount, header.recordSize));
    header.fileBlocks = number;
    header.usedBlocks += 1;
    header.lastBlock = number;
    if (!last)
        header.firstBlock = number;
    return offset + BlockHeadSize;
}

// The table file with the records packed into blocks in table order after
// the header, whose counters are set to match.
QByteArray packedTable(QByteArray bytes, const QByteArray& records, TableHeader& header)
{
    const int recordSize = header.recordSize;
    const int perBlock = recordsPerBlock(header);
    const int recordCount = int(records.size() / recordSize);
    const int blocks = (recordCount + perBlock - 1) / perBlock;
    header.recordCount = recordCount;
    header.fileBlocks = blocks;
    header.usedBlocks = blocks;
    header.firstBlock = blocks > 0 ? 1 : 0;
    header.lastBlock = blocks;
    header.firstFreeBlock = 0;
    QByteArray fixed = bytes.left(header.fixedSize);
    putCounters(header, fixed);
    bytes.replace(0, fixed.size(), fixed);
    for (int number = 1; number <= blocks; ++number) {
        const int first = (number - 1) * perBlock;
        const int count = qMin(perBlock, recordCount - first);
        QByteArray block(header.blockSize, '\0');
        block.replace(0, BlockHeadSize,
                      blockHead(number < blocks ? number + 1 : 0, number - 1, count, recordSize));
        block.replace(BlockHeadSize, qsizetype(count) * recordSize,
                      records.mid(qsizetype(first) * recordSize, qsizetype(count) * recordSize));
        bytes += block;
    }
    return bytes;
}

} // namespace

RecordPosition Table::append(Row& row)
{
    checkWritable();
    d->checkRowSize(row);
    WriteSession session(*d);
    checkWritable(); // as the table is now, should another program have changed it
    QIODevice& file = session.file();
    chainOf(file, *d); // the record must land where the chain reaches

    TableHeader header = d->header;
    const Row values = withAutoIncrements(row, header, *d);
    std::optional<MemoWriter> memo = memoWriterFor(*d);
    const QByteArray record =
        writeRecord(header, d->fields, values, d->codePage, memo ? &*memo : nullptr);

    InPlaceWrite write(d->path);
    if (memo)
        memo->finish(write);
    const RecordPosition position = placeRecord(file, header, record, write, *d);
    write.endStep("record written");
    header.recordCount += 1;
    putHeader(file, header, write, *d);
    const qint64 sizeBefore = file.size();

    write.run(session.pending(*d));
    d->chain.appended(d->header, sizeBefore, header,
                      qMax(sizeBefore, blockOffset(header, header.fileBlocks) + header.blockSize),
                      position);
    d->takeHeader(header);
    if (memo)
        d->openSubBlock = memo->openSubBlock();
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (header.fields[i].type == FieldType::AutoIncrement)
            row[i] = values[i];
    }
    session.spillIfLarge(*d);
    return position;
}

void Table::update(RecordPosition position, const Row& row, const Row* asRead)
{
    checkWritable();
    d->checkRowSize(row);
    WriteSession session(*d);
    checkWritable(); // as the table is now, should another program have changed it
    QIODevice& file = session.file();

    const TableHeader& header = d->header;
    if (!holdsRecord(file, *d, position))
        d->fail(QStringLiteral("位置 %1 にレコードがありません。").arg(position));
    PreviousRecord previous;
    previous.bytes = readBytes(file, position, header.recordSize, *d);
    if (asRead && asRead->size() == d->fields.size()) {
        previous.values = *asRead;
    } else {
        const std::unique_ptr<MemoFile> memoFile = d->openMemoFile();
        previous.values = readRecord(header, d->fields, previous.bytes.constData(), d->codePage,
                                     memoFile.get(), d->fileName);
    }
    std::optional<MemoWriter> memo = memoWriterFor(*d);
    const QByteArray record =
        writeRecord(header, d->fields, row, d->codePage, memo ? &*memo : nullptr, &previous);

    InPlaceWrite write(d->path);
    if (memo)
        memo->finish(write);
    write.put(d->path, position, record);
    write.endStep("record written");
    putHeader(file, header, write, *d);

    write.run(session.pending(*d));
    if (memo)
        d->openSubBlock = memo->openSubBlock();
    session.spillIfLarge(*d);
}

Row Table::storedForm(const Row& row) const
{
    Row stored = row;
    QList<int> fields(qMin(row.size(), d->fields.size()));
    std::iota(fields.begin(), fields.end(), 0);
    toStoredForm(stored, fields);
    return stored;
}

void Table::toStoredForm(Row& row, const QList<int>& fields) const
{
    for (int i : fields) {
        const Field& field = d->fields[i];
        const QVariant& value = std::as_const(row)[i];
        const bool textField = field.type == FieldType::Alpha || field.type == FieldType::Memo;
        if (!textField || value.typeId() != QMetaType::QString)
            continue;
        const QString text = value.toString();
        const QString read =
            d->codePage.storedForm(text, field.type == FieldType::Alpha ? field.size : -1);
        if (read.isEmpty())
            row[i] = QVariant();
        else if (read != text) // else the row keeps sharing its values
            row[i] = read;
    }
}

void Table::remove(const QList<RecordPosition>& positions)
{
    checkWritable();
    if (positions.isEmpty())
        return;
    WriteSession session(*d);
    checkWritable(); // as the table is now, should another program have changed it
    QIODevice& file = session.file();

    TableHeader header = d->header;
    const int recordSize = header.recordSize;
    const QList<DataBlock> chain = readBlockChain(file, header, d->fileName);
    const QSet<RecordPosition> doomed(positions.begin(), positions.end());
    for (RecordPosition position : doomed) {
        if (!holdsRecord(file, *d, position))
            d->fail(QStringLiteral("位置 %1 にレコードがありません。").arg(position));
    }
    QByteArray kept;
    for (const DataBlock& block : chain) {
        const QByteArray records = readBytes(file, recordOffset(block, 0, recordSize),
                                             qint64(block.recordCount) * recordSize, *d);
        for (int i = 0; i < block.recordCount; ++i) {
            if (!doomed.contains(recordOffset(block, i, recordSize)))
                kept += records.mid(qsizetype(i) * recordSize, recordSize);
        }
    }

    const QByteArray bytes = packedTable(readBytes(file, 0, header.headerSize, *d), kept, header);
    if (PendingWrites* pending = session.pending(*d)) {
        // Within a transaction the whole file is rewritten in place at the
        // commit, journalled like any other write.
        pending->write(d->path, 0, bytes);
        pending->resize(d->path, bytes.size());
        d->takeHeader(header);
        session.spillIfLarge(*d);
        return;
    }
    file.close();

    QSaveFile replacement(d->path);
    if (!replacement.open(QIODevice::WriteOnly) || replacement.write(bytes) != bytes.size())
        d->fail(replacement.errorString());
    reachStep("temporary written");
    if (!replacement.commit())
        d->fail(replacement.errorString());
    reachStep("table replaced");
    d->takeHeader(header);
}

} // namespace paradox
