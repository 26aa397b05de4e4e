#include "paradox/memo_file.h"

#include "paradox/table_error.h"

#include <QtEndian>

namespace paradox::codec {
namespace {

// A graphic blob starts with eight bytes of its own before the picture.
constexpr int GraphicPrefix = 8;

} // namespace

MemoFile::MemoFile(std::unique_ptr<QIODevice> file, QString name)
    : file_(std::move(file)), name_(std::move(name))
{}

QByteArray MemoFile::read(quint32 location, quint32 length, FieldType type)
{
    const qint64 offset = location & 0xFFFFFF00u;
    const int index = int(location & 0xFF);
    if (offset == 0)
        fail(QStringLiteral("メモの位置がありません。"));
    if (offset + MemoUnit > file_->size())
        fail(QStringLiteral("位置 %1 のブロックはファイルの外にあります。").arg(offset));
    const QByteArray head = readAt(offset, 3);
    const int units = qFromLittleEndian<quint16>(head.constData() + 1);
    if (units < 1 || offset + qint64(units) * MemoUnit > file_->size())
        fail(QStringLiteral("位置 %1 のブロックはファイルの外にはみ出しています。").arg(offset));

    QByteArray data;
    switch (quint8(head[0])) {
    case SingleBlobBlock:
        data = readSingle(offset, index, length, units);
        break;
    case SubAllocatedBlock:
        data = readSubAllocated(offset, index, length);
        break;
    default:
        fail(QStringLiteral("位置 %1 はメモのブロックではありません (種類 %2)。")
                 .arg(offset)
                 .arg(quint8(head[0])));
    }
    return type == FieldType::Graphic ? data.mid(GraphicPrefix) : data;
}

QByteArray MemoFile::readSingle(qint64 offset, int index, quint32 length, int units)
{
    if (index != SingleBlobIndex)
        fail(QStringLiteral("位置 %1 のブロックに番号 %2 の値はありません。")
                 .arg(offset)
                 .arg(index));
    const QByteArray head = readAt(offset + 3, 4);
    const quint32 stored = qFromLittleEndian<quint32>(head.constData());
    if (stored != length || SingleBlobHeadSize + qint64(length) > qint64(units) * MemoUnit)
        fail(QStringLiteral("位置 %1 の値の長さ %2 がフィールドの %3 と合いません。")
                 .arg(offset)
                 .arg(stored)
                 .arg(length));
    return readAt(offset + SingleBlobHeadSize, length);
}

QByteArray MemoFile::readSubAllocated(qint64 offset, int index, quint32 length)
{
    if (index >= MemoSlots)
        fail(QStringLiteral("位置 %1 のブロックに番号 %2 の値はありません。")
                 .arg(offset)
                 .arg(index));
    const QByteArray slot = readAt(offset + SubBlockHeadSize + index * MemoSlotSize, MemoSlotSize);
    const int start = quint8(slot[0]) * MemoChunk;
    const int chunks = quint8(slot[1]);
    const int inLastChunk = quint8(slot[4]);
    if (start == 0 || chunks == 0 || inLastChunk == 0)
        fail(QStringLiteral("位置 %1 の番号 %2 の値は削除されています。").arg(offset).arg(index));
    const quint32 stored = quint32((chunks - 1) * MemoChunk + inLastChunk);
    if (stored != length || start + qint64(length) > MemoUnit)
        fail(QStringLiteral("位置 %1 の値の長さ %2 がフィールドの %3 と合いません。")
                 .arg(offset)
                 .arg(stored)
                 .arg(length));
    return readAt(offset + start, length);
}

QByteArray MemoFile::readAt(qint64 offset, qint64 length)
{
    if (!file_->seek(offset))
        fail(file_->errorString());
    QByteArray bytes = file_->read(length);
    if (bytes.size() != length)
        fail(QStringLiteral("位置 %1 から %2 バイトを読めません。").arg(offset).arg(length));
    return bytes;
}

void MemoFile::fail(const QString& problem) const
{
    raiseTableError(name_, problem);
}

} // namespace paradox::codec
