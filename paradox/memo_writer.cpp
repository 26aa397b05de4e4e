#include "paradox/memo_writer.h"

#include "paradox/in_place_write.h"
#include "paradox/memo_file.h"
#include "paradox/table_error.h"

#include <QFileInfo>
#include <QtEndian>

namespace paradox::codec {
namespace {

constexpr int ModificationCountAt = 3;
// Values up to this size share sub-allocated blocks; larger ones get their own.
constexpr int SubAllocationLimit = 0x800;
// The first chunk after the head and the slot table.
constexpr int FirstDataChunk =
    (SubBlockHeadSize + MemoSlots * MemoSlotSize + MemoChunk - 1) / MemoChunk;
constexpr int ChunksPerBlock = MemoUnit / MemoChunk;

int unitsFor(qint64 bytes)
{
    return int((bytes + MemoUnit - 1) / MemoUnit);
}

// The first chunk after the values a sub-allocated block holds; 0 when its
// slot table does not make sense.
int usedChunks(const QByteArray& block)
{
    int end = FirstDataChunk;
    for (int slot = 0; slot < MemoSlots; ++slot) {
        const char* entry = block.constData() + SubBlockHeadSize + slot * MemoSlotSize;
        const int start = quint8(entry[0]);
        if (start == 0)
            continue;
        const int stop = start + quint8(entry[1]);
        if (start < FirstDataChunk || stop > ChunksPerBlock)
            return 0;
        end = qMax(end, stop);
    }
    return end;
}

int freeSlot(const QByteArray& block)
{
    // Slots are taken from the last one down, as Paradox does.
    for (int slot = MemoSlots - 1; slot >= 0; --slot) {
        if (block[SubBlockHeadSize + slot * MemoSlotSize] == 0)
            return slot;
    }
    return -1;
}

} // namespace

QByteArray newMemoFile()
{
    QByteArray header(MemoUnit, '\0');
    header[0] = char(HeaderBlock);
    qToLittleEndian(quint16(1), header.data() + 1);                   // length in units
    qToLittleEndian(quint16(1), header.data() + ModificationCountAt); // modification count
    // The constant part every memo file header carries.
    const char constants[] = {char(0x82), 0x73, 0x02, 0x00, 0x29, 0x00};
    header.replace(5, sizeof constants, constants, sizeof constants);
    qToLittleEndian(quint16(MemoUnit), header.data() + 0x0B);           // block size
    qToLittleEndian(quint16(MemoUnit), header.data() + 0x0D);           // sub-allocated block size
    header[0x0F] = char(MemoChunk);                                     // chunk size
    qToLittleEndian(quint16(MemoSlots), header.data() + 0x10);          // slots per block
    qToLittleEndian(quint16(SubAllocationLimit), header.data() + 0x12); // sub-allocation limit
    return header;
}

MemoWriter::MemoWriter(QIODevice& file, const QString& path, qint64 openSubBlock) : path_(path)
{
    length_ = file.size();
    if (!file.seek(0))
        fail(file.errorString());
    const QByteArray head = file.read(ModificationCountAt + 2);
    if (head.size() < ModificationCountAt + 2 || head[0] != char(HeaderBlock) ||
        length_ % MemoUnit != 0)
        fail(QStringLiteral("メモファイルの形が正しくないため、書き込めません。"));
    modificationCount_ = qFromLittleEndian<quint16>(head.constData() + ModificationCountAt);
    if (openSubBlock > 0 && openSubBlock % MemoUnit == 0 && openSubBlock < length_) {
        file.seek(openSubBlock);
        subBlock_ = file.read(MemoUnit);
        if (subBlock_.size() == MemoUnit && subBlock_[0] == char(SubAllocatedBlock) &&
            qFromLittleEndian<quint16>(subBlock_.constData() + 1) == 1 && usedChunks(subBlock_) > 0)
            subBlockOffset_ = openSubBlock;
        else
            subBlock_.clear();
    }
}

MemoWriter::Stored MemoWriter::store(const QByteArray& data)
{
    // Zero is not a modification number Paradox gives out.
    modificationCount_ = quint16(modificationCount_ % 0xFFFF + 1);
    stored_ = true;
    return data.size() > SubAllocationLimit ? storeSingle(data) : storeInSubBlock(data);
}

MemoWriter::Stored MemoWriter::storeSingle(const QByteArray& data)
{
    const int units = unitsFor(SingleBlobHeadSize + data.size());
    QByteArray block(qsizetype(units) * MemoUnit, '\0');
    block[0] = char(SingleBlobBlock);
    qToLittleEndian(quint16(units), block.data() + 1);
    qToLittleEndian(quint32(data.size()), block.data() + 3);
    qToLittleEndian(modificationCount_, block.data() + 7);
    block.replace(SingleBlobHeadSize, data.size(), data);
    const qint64 offset = length_;
    blocks_.append({offset, block});
    length_ += block.size();
    return {quint32(offset) | SingleBlobIndex, modificationCount_};
}

MemoWriter::Stored MemoWriter::storeInSubBlock(const QByteArray& data)
{
    const int chunks = int((data.size() + MemoChunk - 1) / MemoChunk);
    if (!subBlockFits(chunks))
        startSubBlock();
    const int slot = freeSlot(subBlock_);
    const int start = usedChunks(subBlock_);
    subBlock_.replace(start * MemoChunk, data.size(), data);
    char* entry = subBlock_.data() + SubBlockHeadSize + slot * MemoSlotSize;
    entry[0] = char(start);
    entry[1] = char(chunks);
    qToLittleEndian(modificationCount_, entry + 2);
    entry[4] = char(data.size() - (chunks - 1) * MemoChunk); // bytes in the last chunk
    subBlockChanged_ = true;
    return {quint32(subBlockOffset_) | quint32(slot), modificationCount_};
}

bool MemoWriter::subBlockFits(int chunks) const
{
    return !subBlock_.isEmpty() && freeSlot(subBlock_) >= 0 &&
           usedChunks(subBlock_) + chunks <= ChunksPerBlock;
}

void MemoWriter::startSubBlock()
{
    if (subBlockChanged_) // a block filled by this write goes in as it is
        blocks_.append({subBlockOffset_, subBlock_});
    subBlock_ = QByteArray(MemoUnit, '\0');
    subBlock_[0] = char(SubAllocatedBlock);
    qToLittleEndian(quint16(1), subBlock_.data() + 1);
    subBlockOffset_ = length_;
    length_ += MemoUnit;
}

void MemoWriter::finish(InPlaceWrite& write) const
{
    if (!stored_)
        return;
    for (const auto& [offset, block] : blocks_)
        write.put(path_, offset, block);
    if (subBlockChanged_)
        write.put(path_, subBlockOffset_, subBlock_);
    QByteArray count(2, '\0');
    qToLittleEndian(modificationCount_, count.data());
    write.put(path_, ModificationCountAt, count);
}

void MemoWriter::fail(const QString& problem) const
{
    raiseTableError(QFileInfo(path_).fileName(), problem);
}

} // namespace paradox::codec
