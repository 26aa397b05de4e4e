#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>

namespace paradox::codec {

class InPlaceWrite;

// The bytes of a new memo file that holds nothing yet: its header block.
QByteArray newMemoFile();

// Adds values to a memo file as part of a write in place. New values go into
// new blocks at the end of the file, or into free room of a sub-allocated
// block this program started; the blocks already in use stay as they are
// (a replaced value's room is left for Paradox to reclaim when it packs
// the table).
class MemoWriter
{
public:
    // Reads the file's head through `file`, as the write will find it.
    // openSubBlock: where a sub-allocated block with room may be, from an
    // earlier write of this program (0 when none).
    MemoWriter(QIODevice& file, const QString& path, qint64 openSubBlock);

    struct Stored
    {
        quint32 location = 0; // block offset, with the slot index in the low byte
        quint16 modification = 0;
    };
    Stored store(const QByteArray& data);

    // Adds the blocks and the header's new modification count to the write
    // (nothing when no value was stored).
    void finish(InPlaceWrite& write) const;

    // The sub-allocated block later writes can fill further.
    qint64 openSubBlock() const { return subBlockOffset_; }

private:
    Stored storeSingle(const QByteArray& data);
    Stored storeInSubBlock(const QByteArray& data);
    bool subBlockFits(int chunks) const;
    void startSubBlock();
    [[noreturn]] void fail(const QString& problem) const;

    QString path_;
    qint64 length_ = 0;
    quint16 modificationCount_ = 0;
    QList<QPair<qint64, QByteArray>> blocks_; // whole blocks to write
    qint64 subBlockOffset_ = 0;
    QByteArray subBlock_;
    bool subBlockChanged_ = false;
    bool stored_ = false;
};

} // namespace paradox::codec
