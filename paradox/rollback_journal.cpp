#include "paradox/rollback_journal.h"

#include "core/error.h"
#include "paradox/file_sync.h"
#include "paradox/table_files.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QMap>
#include <QtEndian>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <zlib.h>

namespace paradox::codec {
namespace {

// A journal of single writes, as earlier runs of the program left them:
// one part, its SHA-1 at the end.
constexpr QByteArrayView WholeMagic("SKVJRNL1");
// Parts one after another, each as its length, its body and its checksum:
// a SHA-1 in the journals of earlier runs, a CRC-32 now. The check is for a
// write cut short, and the CRC costs a fifth of the time on the journal of
// a whole table.
constexpr QByteArrayView Sha1PartsMagic("SKVJRNL2");
constexpr QByteArrayView PartsMagic("SKVJRNL3");
constexpr int LengthSize = 8;

struct SavedFile
{
    qint64 length = 0;
    QList<QPair<qint64, QByteArray>> regions;
};

// Saved files by name; they all live in the journal's folder.
using Part = QMap<QString, SavedFile>;

[[noreturn]] void fail(const QString& path, const QString& problem)
{
    throw SkelvoError(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), problem));
}

// Writes a part to the journal file as the reader's QDataStream (Qt 6.0,
// big-endian) reads it back, its length first and its CRC last, with the
// saved bytes copied from the files a piece at a time: the journal of a
// whole table is as large as the table, and it is never all in memory.
class PartWriter
{
public:
    PartWriter(QFile& journal, const QString& journalPath, qint64 bodySize)
        : journal_(journal), journalPath_(journalPath)
    {
        write(bigEndian<qint64>(bodySize));
    }

    template <typename Number> static QByteArray bigEndian(Number number)
    {
        QByteArray bytes(sizeof(Number), '\0');
        qToBigEndian(number, bytes.data());
        return bytes;
    }

    // As QDataStream writes a QString: its length in bytes, then UTF-16.
    static qint64 textSize(const QString& text) { return 4 + 2 * text.size(); }
    void text(const QString& text)
    {
        QByteArray bytes = bigEndian(quint32(2 * text.size()));
        for (QChar c : text)
            bytes += bigEndian(quint16(c.unicode()));
        add(bytes);
    }

    template <typename Number> void number(Number number) { add(bigEndian(number)); }

    // As QDataStream writes a QByteArray: its length, then the bytes, here
    // read from the file.
    static qint64 bytesSize(qint64 length) { return 4 + length; }
    void bytesOf(QFile& file, qint64 offset, qint64 length)
    {
        constexpr qint64 Piece = 1 << 20;
        number(quint32(length));
        if (!file.seek(offset))
            fail(file.fileName(), file.errorString());
        for (qint64 done = 0; done < length;) {
            const QByteArray piece = file.read(qMin(Piece, length - done));
            if (piece.isEmpty())
                fail(file.fileName(), file.errorString());
            add(piece);
            done += piece.size();
        }
    }

    void finish() { write(bigEndian(quint32(crc_))); }

private:
    void add(const QByteArray& bytes)
    {
        crc_ =
            crc32_z(crc_, reinterpret_cast<const Bytef*>(bytes.constData()), size_t(bytes.size()));
        write(bytes);
    }

    void write(const QByteArray& bytes)
    {
        if (journal_.write(bytes) != bytes.size())
            fail(journalPath_, journal_.errorString());
    }

    QFile& journal_;
    const QString& journalPath_;
    uLong crc_ = 0;
};

std::optional<Part> deserialize(const QByteArray& body)
{
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    Part part;
    qint64 fileCount = 0;
    in >> fileCount;
    for (qint64 i = 0; i < fileCount && in.status() == QDataStream::Ok; ++i) {
        QString name;
        SavedFile file;
        qint64 regionCount = 0;
        in >> name >> file.length >> regionCount;
        for (qint64 j = 0; j < regionCount && in.status() == QDataStream::Ok; ++j) {
            qint64 offset = 0;
            QByteArray bytes;
            in >> offset >> bytes;
            file.regions.append({offset, bytes});
        }
        part.insert(name, file);
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return part;
}

int checksumSize(QByteArrayView magic)
{
    return magic == PartsMagic ? 4 : QCryptographicHash::hashLength(QCryptographicHash::Sha1);
}

bool checksumMatches(QByteArrayView magic, QByteArrayView body, QByteArrayView checksum)
{
    return partChecksum(magic, body) == checksum;
}

[[noreturn]] void damaged(const QString& journalPath, const QString& why)
{
    fail(journalPath, QStringLiteral("テーブルの書きかけの変更を戻すジャーナルが壊れているか、"
                                     "このテーブルのものではありません（%1）。ジャーナルは"
                                     "そのまま残してあります。")
                          .arg(why));
}

// A write cut short leaves its part incomplete at the end of the journal, or
// (after a power failure) zero bytes there; its files were not touched yet.
bool tornTail(const QByteArray& journal, qsizetype at)
{
    return std::all_of(journal.begin() + at, journal.end(), [](char c) { return c == 0; });
}

// The parts of the journal, in the order written. A last part cut short
// counts as never written; anything else that does not check makes the
// journal damaged.
QList<Part> completeParts(const QByteArray& journal, const QString& journalPath)
{
    QList<Part> parts;
    const auto partOf = [&](QByteArrayView body) {
        std::optional<Part> part = deserialize(body.toByteArray());
        if (!part)
            damaged(journalPath, QStringLiteral("読めない記録"));
        parts.append(*part);
    };
    const QByteArrayView magic = QByteArrayView(journal).first(qMin(journal.size(), 8));
    const int checksumSize = codec::checksumSize(magic);
    if (magic == WholeMagic) {
        const qsizetype bodySize = journal.size() - WholeMagic.size() - checksumSize;
        if (bodySize >= 0 && checksumMatches(magic, journal.sliced(WholeMagic.size(), bodySize),
                                             journal.right(checksumSize)))
            partOf(journal.sliced(WholeMagic.size(), bodySize));
        return parts; // a single write cut short was never begun
    }
    if (PartsMagic.startsWith(journal) || Sha1PartsMagic.startsWith(journal) ||
        tornTail(journal, 0))
        return parts; // ended while its heading was being written
    if (magic != PartsMagic && magic != Sha1PartsMagic)
        damaged(journalPath, QStringLiteral("見出しがありません"));
    qsizetype at = magic.size();
    while (at < journal.size()) {
        const qsizetype left = journal.size() - at - LengthSize - checksumSize;
        const qint64 bodySize = left >= 0 ? qFromBigEndian<qint64>(journal.constData() + at) : 0;
        const bool complete = left >= 0 && bodySize >= 0 && bodySize <= left;
        const QByteArrayView body(journal.constData() + at + LengthSize, complete ? bodySize : 0);
        if (complete && checksumMatches(magic, body, QByteArrayView(body.end(), checksumSize))) {
            partOf(body);
            at += LengthSize + bodySize + checksumSize;
            continue;
        }
        const bool last = !complete || bodySize == left;
        if (last || tornTail(journal, at))
            break;
        damaged(journalPath, QStringLiteral("%1 バイト目からの記録が合いません").arg(at));
    }
    return parts;
}

// The table's own files, the only ones its journal may restore, opened
// without creating any: a journal cannot bring a file into being.
class TableFiles
{
public:
    TableFiles(const QString& tablePath, const QString& journalPath) : journalPath_(journalPath)
    {
        const QString memo = existingMemoPath(tablePath);
        for (const QString& path : {tablePath, memo.isEmpty() ? newMemoPath(tablePath) : memo})
            allowed_.insert(QFileInfo(path).fileName(), QFileInfo(path).absoluteFilePath());
    }

    // Checks every part against the files before any byte is written: the
    // names are the table's, each length is one the file has had (its
    // present one, or one its saved bytes reach), and each saved region
    // lies within the length recorded with it.
    void check(const QList<Part>& parts)
    {
        QHash<QString, qint64> reach;
        for (const Part& part : parts) {
            for (auto it = part.begin(); it != part.end(); ++it) {
                if (!allowed_.contains(it.key()))
                    damaged(journalPath_, QStringLiteral("ほかのファイル「%1」").arg(it.key()));
                qint64& end = reach[it.key()];
                end = qMax(end, open(it.key()).size());
                for (const auto& [offset, bytes] : it->regions) {
                    if (offset < 0 || offset > it->length - bytes.size())
                        damaged(journalPath_, QStringLiteral("長さの外の記録"));
                    end = qMax(end, offset + bytes.size());
                }
            }
        }
        for (const Part& part : parts) {
            for (auto it = part.begin(); it != part.end(); ++it) {
                if (it->length < 0 || it->length > reach.value(it.key()))
                    damaged(journalPath_,
                            QStringLiteral("%1 の長さ %2").arg(it.key()).arg(it->length));
            }
        }
    }

    QFile& open(const QString& name)
    {
        std::unique_ptr<QFile>& file = files_[name];
        if (!file) {
            file = std::make_unique<QFile>(allowed_.value(name));
            if (!file->exists())
                damaged(journalPath_, QStringLiteral("「%1」がありません").arg(name));
            // A link would carry the restored bytes to wherever it points.
            if (QFileInfo(file->fileName()).isSymLink())
                damaged(journalPath_, QStringLiteral("「%1」はリンクです").arg(name));
            if (!file->open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
                fail(file->fileName(), file->errorString());
        }
        return *file;
    }

    void syncAll()
    {
        for (auto& [name, file] : files_)
            syncToDisk(*file);
    }

private:
    QString journalPath_;
    QHash<QString, QString> allowed_; // file name -> path
    std::map<QString, std::unique_ptr<QFile>> files_;
};

// Undoes the parts, latest first, and makes the restored files durable.
// Nothing is written unless every part checks.
void undo(const QString& tablePath, const QString& journalPath, const QList<Part>& parts)
{
    TableFiles files(tablePath, journalPath);
    files.check(parts);
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        for (auto it = part->begin(); it != part->end(); ++it) {
            QFile& file = files.open(it.key());
            for (const auto& [offset, bytes] : it->regions) {
                if (!file.seek(offset) || file.write(bytes) != bytes.size())
                    fail(file.fileName(), file.errorString());
            }
            if (!file.resize(it->length))
                fail(file.fileName(), file.errorString());
        }
    }
    files.syncAll();
}

void removeJournalFile(const QString& path)
{
    if (!QFile::remove(path) && QFile::exists(path))
        fail(path, QStringLiteral("ジャーナルを削除できません。"));
}

} // namespace

QByteArray partChecksum(QByteArrayView magic, QByteArrayView body)
{
    if (magic != PartsMagic)
        return QCryptographicHash::hash(body, QCryptographicHash::Sha1);
    QByteArray sum(4, '\0');
    qToBigEndian(quint32(crc32_z(0, reinterpret_cast<const Bytef*>(body.data()), body.size())),
                 sum.data());
    return sum;
}

Journal::Journal(const QString& tablePath) : path_(journalPath(tablePath)), file_(path_)
{
    if (!file_.open(QIODevice::ReadWrite | QIODevice::Truncate) ||
        file_.write(PartsMagic.data(), PartsMagic.size()) != PartsMagic.size())
        fail(path_, file_.errorString());
}

void Journal::save(const QList<FileRegion>& regions, bool durable)
{
    struct Saved
    {
        QString path;
        qint64 length = 0;
        QList<QPair<qint64, qint64>> regions; // offset, length
    };
    QMap<QString, Saved> part; // by file name, as the reader keys them
    for (const FileRegion& region : regions) {
        Saved& entry = part[QFileInfo(region.path).fileName()];
        entry.path = region.path;
        entry.length = files_.size(region.path);
        // Bytes past the file's end hold nothing to save: the length kept
        // with the part puts the end back.
        const qint64 length = qMin(region.length, entry.length - region.offset);
        if (length > 0)
            entry.regions.append({region.offset, length});
    }
    qint64 bodySize = sizeof(qint64);
    for (auto it = part.begin(); it != part.end(); ++it) {
        bodySize += PartWriter::textSize(it.key()) + 2 * sizeof(qint64);
        for (const auto& [offset, length] : it->regions)
            bodySize += sizeof(qint64) + PartWriter::bytesSize(length);
    }
    PartWriter writer(file_, path_, bodySize);
    writer.number(qint64(part.size()));
    for (auto it = part.begin(); it != part.end(); ++it) {
        writer.text(it.key());
        writer.number(it->length);
        writer.number(qint64(it->regions.size()));
        for (const auto& [offset, length] : it->regions) {
            writer.number(offset);
            writer.bytesOf(files_.file(it->path), offset, length);
        }
    }
    writer.finish();
    if (!file_.flush())
        fail(path_, file_.errorString());
    if (durable) {
        syncToDisk(file_);
        syncFolder(QFileInfo(path_).absolutePath());
    }
}

void Journal::remove()
{
    files_.closeAll();
    file_.close();
    removeJournalFile(path_);
}

void rollBack(const QString& tablePath)
{
    const QString path = journalPath(tablePath);
    QFile file(path);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        fail(path, file.errorString());
    const QByteArray journal = file.readAll();
    file.close();
    undo(tablePath, path, completeParts(journal, path));
    removeJournalFile(path);
    syncFolder(QFileInfo(path).absolutePath());
}

} // namespace paradox::codec
