#pragma once

#include "paradox/paradox_table.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <memory>

namespace paradox::codec {

// The memo file (.MB) holds what does not fit a blob field's leader. It is
// made of 4 KiB units; each block starts with its type and its length in
// units. A single-blob block holds one value; a sub-allocated block holds up
// to 64 small ones in 16-byte chunks, found through a table of pointers.
constexpr int MemoUnit = 4096;
constexpr int MemoChunk = 16;
constexpr int MemoSlots = 64;
constexpr int MemoSlotSize = 5;
constexpr int SubBlockHeadSize = 12;
constexpr int SingleBlobHeadSize = 9;
constexpr quint8 HeaderBlock = 0;
constexpr quint8 SingleBlobBlock = 2;
constexpr quint8 SubAllocatedBlock = 3;
constexpr quint8 SingleBlobIndex = 0xFF; // in the low byte of a field's MB location

class MemoFile
{
public:
    // Reads the memo file through `file`, open for reading; `name` is the
    // file's name for messages.
    MemoFile(std::unique_ptr<QIODevice> file, QString name);

    // The value a field's tail points to: its location (block offset, and
    // slot index in the low byte) and its length in bytes.
    QByteArray read(quint32 location, quint32 length, FieldType type);

private:
    QByteArray readSingle(qint64 offset, int index, quint32 length, int units);
    QByteArray readSubAllocated(qint64 offset, int index, quint32 length);
    QByteArray readAt(qint64 offset, qint64 length);
    [[noreturn]] void fail(const QString& problem) const;

    std::unique_ptr<QIODevice> file_;
    QString name_;
};

} // namespace paradox::codec
