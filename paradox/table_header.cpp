#include "paradox/table_header.h"

#include "paradox/block_chain.h"
#include "paradox/table_error.h"

#include <QDateTime>
#include <QIODevice>
#include <QtEndian>

namespace paradox::codec {
namespace {

// The fixed part common to all versions, and the one 4.0 and later add.
constexpr int CommonSize = 0x58;
constexpr int ExtendedSize = 0x78;

// Offsets in the fixed part (little-endian).
constexpr int RecordSizeAt = 0x00;
constexpr int HeaderSizeAt = 0x02;
constexpr int FileTypeAt = 0x04;
constexpr int BlockSizeAt = 0x05;
constexpr int RecordCountAt = 0x06;
constexpr int UsedBlocksAt = 0x0A;
constexpr int FileBlocksAt = 0x0C;
constexpr int FirstBlockAt = 0x0E;
constexpr int LastBlockAt = 0x10;
constexpr int FieldCountAt = 0x21;
constexpr int KeyFieldsAt = 0x23;
constexpr int Encryption1At = 0x25;
constexpr int ChangeCountAt = 0x2D;
constexpr int TableNamePtrPtrAt = 0x30;
constexpr int FieldInfoPtrAt = 0x34;
constexpr int VersionAt = 0x39;
constexpr int MaxBlocksAt = 0x3A;
constexpr int Unknown3EAt = 0x3E;
constexpr int AutoIncrementAt = 0x49;
constexpr int FirstFreeBlockAt = 0x4D;
constexpr int RealHeaderSizeAt = 0x51;
constexpr int Unknown56At = 0x56;
constexpr int FileVersion3At = 0x58;
constexpr int FileVersion4At = 0x5A;
constexpr int Encryption2At = 0x5C;
constexpr int UpdateTimeAt = 0x60;
constexpr int HighFieldIdAt = 0x64;
constexpr int HighFieldIdInfoAt = 0x66;
constexpr int CodePageAt = 0x6A;
constexpr int Unknown6CAt = 0x6C;
constexpr int ChangeCount4At = 0x70;

// encryption1 holds this from 4.0 on; the real value moved to encryption2.
constexpr quint32 EncryptionMoved = 0xFF00FF00;
constexpr int Version7Id = 0x0C;
constexpr int ShortTableNameLength = 79;
constexpr int LongTableNameLength = MaxTableNameBytes + 1; // Paradox 7
constexpr int PointerSize = 4;
constexpr int MaxFields = 255;
constexpr int BcdSize = 17;
constexpr int MaxBcdDecimals = 32;
constexpr int HeaderGranule = 0x800;
constexpr QByteArrayView SortOrderName("ascii");

quint16 le16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 le32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

void putLe16(QByteArray& bytes, int at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void putLe32(QByteArray& bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

// The format version a version byte stands for; 0 for one we do not know.
int formatVersionOf(int versionId)
{
    switch (versionId) {
    case 3:
        return 30;
    case 4:
        return 35;
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        return 40;
    case 10:
    case 11:
        return 50;
    case Version7Id:
        return 70;
    default:
        return 0;
    }
}

bool isDataFile(int fileType)
{
    return fileType == 0 || fileType == 2;
}

bool validBlockSizeCode(int code)
{
    return code == 1 || code == 2 || code == 3 || code == 4 || code == 8 || code == 16 ||
           code == 32;
}

// The size a field takes in the record, from its descriptor; 0 when the
// descriptor is not a valid one.
int recordBytesOf(int type, int descriptorSize)
{
    switch (FieldType(type)) {
    case FieldType::Alpha:
    case FieldType::Bytes:
        return descriptorSize >= 1 ? descriptorSize : 0;
    case FieldType::Short:
        return descriptorSize == 2 ? 2 : 0;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::Time:
    case FieldType::AutoIncrement:
        return descriptorSize == 4 ? 4 : 0;
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Timestamp:
        return descriptorSize == 8 ? 8 : 0;
    case FieldType::Logical:
        return descriptorSize == 1 ? 1 : 0;
    case FieldType::Memo:
        return descriptorSize > BlobTailSize ? descriptorSize : 0;
    // These may have no leader: their values are all in the memo file.
    case FieldType::FormattedMemo:
    case FieldType::Blob:
    case FieldType::Ole:
    case FieldType::Graphic:
        return descriptorSize >= BlobTailSize ? descriptorSize : 0;
    case FieldType::Bcd:
        return descriptorSize <= MaxBcdDecimals ? BcdSize : 0;
    }
    return 0;
}

// Cuts the NUL-terminated text that starts at `at`, moving `at` past it;
// fails when the text runs past the end.
QByteArray takeNulTerminated(const QByteArray& bytes, int& at, const QString& fileName)
{
    const qsizetype end = bytes.indexOf('\0', at);
    if (end < 0)
        raiseTableError(fileName, QStringLiteral("フィールド名がヘッダーに収まっていません。"));
    QByteArray text = bytes.mid(at, end - at);
    at = int(end) + 1;
    return text;
}

void readFields(TableHeader& header, const QByteArray& bytes, const QString& fileName)
{
    const int count = qint16(le16(bytes, FieldCountAt));
    const int infoAt = header.fixedSize;
    if (count < 1 || count > MaxFields || infoAt + 2 * count > header.headerSize)
        raiseTableError(fileName,
                        QStringLiteral("フィールド数 %1 が正しくありません。").arg(count));

    int offset = 0;
    for (int i = 0; i < count; ++i) {
        const int type = quint8(bytes[infoAt + 2 * i]);
        const int descriptorSize = quint8(bytes[infoAt + 2 * i + 1]);
        const int size = recordBytesOf(type, descriptorSize);
        if (size == 0)
            raiseTableError(fileName,
                            QStringLiteral("%1 番目のフィールドの型 (%2) または長さ (%3) が"
                                           "正しくありません。")
                                .arg(i + 1)
                                .arg(type)
                                .arg(descriptorSize));
        FieldLayout field;
        field.type = FieldType(type);
        field.size = size;
        field.decimals = field.type == FieldType::Bcd ? descriptorSize : 0;
        field.offset = offset;
        offset += size;
        header.fields.append(field);
    }
    if (offset != header.recordSize)
        raiseTableError(fileName, QStringLiteral("フィールドの長さの合計 %1 がレコード長 %2 と"
                                                 "合いません。")
                                      .arg(offset)
                                      .arg(header.recordSize));

    // Field names follow the name pointers and the table name.
    const int tableNameLength =
        header.formatVersion == 70 ? LongTableNameLength : ShortTableNameLength;
    int at = infoAt + 2 * count + PointerSize + PointerSize * count + tableNameLength;
    if (at > header.headerSize)
        raiseTableError(fileName, QStringLiteral("フィールド名がヘッダーに収まっていません。"));
    const QByteArray names = bytes.left(header.headerSize);
    for (FieldLayout& field : header.fields)
        field.name = takeNulTerminated(names, at, fileName);
}

// The extended part of a new header: version, time, field id counters and code page.
void putExtendedPart(QByteArray& header, int fieldCount, int namesLength, int tableNameLength,
                     int codePage)
{
    constexpr quint16 Version7Full = 0x0100 | Version7Id;
    putLe16(header, FileVersion3At, Version7Full);
    putLe16(header, FileVersion4At, Version7Full);
    putLe16(header, HighFieldIdAt, quint16(fieldCount + 1));
    // These two follow the sizes of the header's variable part, as Paradox 7 keeps them.
    putLe16(header, HighFieldIdInfoAt,
            quint16(0x20 + fieldCount * (2 + PointerSize) + PointerSize + tableNameLength +
                    namesLength));
    header[Unknown6CAt] = 1;
    header[Unknown6CAt + 1] = 1;
    putLe16(header, Unknown6CAt + 2,
            quint16(0x18 + fieldCount * (2 + PointerSize + 2) + PointerSize + tableNameLength +
                    namesLength + 8));
    putLe16(header, CodePageAt, quint16(codePage));
    putLe16(header, ChangeCount4At, 1);
}

} // namespace

bool isBlobType(FieldType type)
{
    return type == FieldType::Memo || type == FieldType::FormattedMemo || type == FieldType::Blob ||
           type == FieldType::Ole || type == FieldType::Graphic;
}

bool TableHeader::keyed() const
{
    return fileType == 0;
}

bool TableHeader::sameLayout(const TableHeader& other) const
{
    if (recordSize != other.recordSize || headerSize != other.headerSize ||
        blockSize != other.blockSize || fields.size() != other.fields.size())
        return false;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const FieldLayout& a = fields[i];
        const FieldLayout& b = other.fields[i];
        if (a.type != b.type || a.size != b.size || a.decimals != b.decimals || a.name != b.name)
            return false;
    }
    return true;
}

TableHeader readTableHeader(QIODevice& file, const QString& fileName)
{
    const qint64 fileSize = file.size();
    if (!file.seek(0))
        raiseTableError(fileName, file.errorString());
    const QByteArray common = file.read(CommonSize);
    if (common.size() < CommonSize)
        raiseTableError(fileName,
                        QStringLiteral("ファイルが短すぎます (%1 バイト)。").arg(fileSize));

    TableHeader header;
    header.headerSize = le16(common, HeaderSizeAt);
    if (header.headerSize < CommonSize || header.headerSize > fileSize)
        raiseTableError(fileName, QStringLiteral("ヘッダーの長さ %1 バイトに対してファイルが"
                                                 " %2 バイトしかありません。")
                                      .arg(header.headerSize)
                                      .arg(fileSize));
    const QByteArray bytes = common + file.read(header.headerSize - CommonSize);
    if (bytes.size() < header.headerSize)
        raiseTableError(fileName, file.errorString());

    header.fileType = quint8(bytes[FileTypeAt]);
    if (!isDataFile(header.fileType))
        raiseTableError(fileName, QStringLiteral("テーブルのデータファイルではありません"
                                                 " (ファイル種別 %1)。")
                                      .arg(header.fileType));
    const int versionId = quint8(bytes[VersionAt]);
    header.formatVersion = formatVersionOf(versionId);
    if (header.formatVersion == 0)
        raiseTableError(fileName,
                        QStringLiteral("ファイル形式の版 (%1) が分かりません。").arg(versionId));
    const int blockSizeCode = quint8(bytes[BlockSizeAt]);
    if (!validBlockSizeCode(blockSizeCode))
        raiseTableError(
            fileName,
            QStringLiteral("ブロックの大きさ (%1) が正しくありません。").arg(blockSizeCode));
    header.blockSize = blockSizeCode * 1024;
    header.recordSize = le16(bytes, RecordSizeAt);
    if (header.recordSize < 1 || header.recordSize > header.blockSize - BlockHeadSize)
        raiseTableError(
            fileName, QStringLiteral("レコード長 %1 が正しくありません。").arg(header.recordSize));
    header.fixedSize = header.formatVersion >= 40 ? ExtendedSize : CommonSize;
    if (header.fixedSize > header.headerSize)
        raiseTableError(
            fileName, QStringLiteral("ヘッダーが短すぎます (%1 バイト)。").arg(header.headerSize));

    header.recordCount = qint32(le32(bytes, RecordCountAt));
    header.usedBlocks = le16(bytes, UsedBlocksAt);
    header.fileBlocks = le16(bytes, FileBlocksAt);
    header.firstBlock = le16(bytes, FirstBlockAt);
    header.lastBlock = le16(bytes, LastBlockAt);
    header.firstFreeBlock = le16(bytes, FirstFreeBlockAt);
    header.keyFields = qint16(le16(bytes, KeyFieldsAt));
    header.autoIncrement = qint32(le32(bytes, AutoIncrementAt));
    quint32 encryption = le32(bytes, Encryption1At);
    if (header.fixedSize == ExtendedSize) {
        header.codePage = le16(bytes, CodePageAt);
        if (encryption == EncryptionMoved)
            encryption = le32(bytes, Encryption2At);
    }
    header.encrypted = encryption != 0;
    readFields(header, bytes, fileName);
    return header;
}

void putCounters(const TableHeader& header, QByteArray& fixedPart)
{
    putLe32(fixedPart, RecordCountAt, quint32(header.recordCount));
    putLe16(fixedPart, UsedBlocksAt, quint16(header.usedBlocks));
    putLe16(fixedPart, FileBlocksAt, quint16(header.fileBlocks));
    putLe16(fixedPart, FirstBlockAt, quint16(header.firstBlock));
    putLe16(fixedPart, LastBlockAt, quint16(header.lastBlock));
    putLe16(fixedPart, MaxBlocksAt,
            quint16(qMax<int>(le16(fixedPart, MaxBlocksAt), header.fileBlocks)));
    putLe32(fixedPart, AutoIncrementAt, quint32(header.autoIncrement));
    putLe16(fixedPart, FirstFreeBlockAt, quint16(header.firstFreeBlock));
    fixedPart[ChangeCountAt] = char(quint8(fixedPart[ChangeCountAt]) + 1);
    if (fixedPart.size() >= ExtendedSize)
        putLe32(fixedPart, UpdateTimeAt, quint32(QDateTime::currentSecsSinceEpoch()));
}

QByteArray newTableHeader(const QList<FieldLayout>& fields, const QByteArray& tableName,
                          int codePage, int blockSize)
{
    const int count = int(fields.size());
    int recordSize = 0;
    QByteArray names;
    for (const FieldLayout& field : fields) {
        recordSize += field.size;
        names += field.name + '\0';
    }
    const int tableNamePtrAt = ExtendedSize + 2 * count;
    const int namePointersAt = tableNamePtrAt + PointerSize;
    const int tableNameAt = namePointersAt + PointerSize * count;
    const int namesAt = tableNameAt + LongTableNameLength;
    const int fieldNumbersAt = namesAt + int(names.size());
    const int sortOrderAt = fieldNumbersAt + 2 * count;
    const int realSize = sortOrderAt + int(SortOrderName.size()) + 1;
    const int headerSize = (realSize + HeaderGranule - 1) / HeaderGranule * HeaderGranule;

    QByteArray header(headerSize, '\0');
    putLe16(header, RecordSizeAt, quint16(recordSize));
    putLe16(header, HeaderSizeAt, quint16(headerSize));
    header[FileTypeAt] = 2;
    header[BlockSizeAt] = char(blockSize / 1024);
    putLe16(header, FieldCountAt, quint16(count));
    putLe32(header, Encryption1At, EncryptionMoved);
    header[ChangeCountAt] = 1;
    header[ChangeCountAt + 1] = 1;
    // Pointers that Paradox only uses while the header is in memory; they
    // are given as offsets into the header, consistently with each other.
    putLe32(header, TableNamePtrPtrAt, quint32(tableNamePtrAt));
    putLe32(header, FieldInfoPtrAt, quint32(ExtendedSize));
    header[VersionAt] = char(Version7Id);
    header[Unknown3EAt] = 0x1f;
    header[Unknown3EAt + 1] = 0x0f;
    putLe16(header, RealHeaderSizeAt, quint16(realSize));
    header[Unknown56At] = 0x20;
    putExtendedPart(header, count, int(names.size()), LongTableNameLength, codePage);
    putLe32(header, UpdateTimeAt, quint32(QDateTime::currentSecsSinceEpoch()));

    int nameAt = namesAt;
    for (int i = 0; i < count; ++i) {
        const FieldLayout& field = fields[i];
        header[ExtendedSize + 2 * i] = char(field.type);
        header[ExtendedSize + 2 * i + 1] =
            char(field.type == FieldType::Bcd ? field.decimals : field.size);
        putLe32(header, namePointersAt + PointerSize * i, quint32(nameAt));
        nameAt += int(field.name.size()) + 1;
        putLe16(header, fieldNumbersAt + 2 * i, quint16(i + 1));
    }
    putLe32(header, tableNamePtrAt, quint32(tableNameAt));
    header.replace(tableNameAt, tableName.size(), tableName);
    header.replace(namesAt, names.size(), names);
    header.replace(sortOrderAt, SortOrderName.size(), SortOrderName.toByteArray());
    return header;
}

} // namespace paradox::codec
