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

QByteArray serialize(const Part& part)
{
    QByteArray body;
    qsizetype saved = 0;
    for (const SavedFile& file : part) {
        for (const auto& region : file.regions)
            saved += region.second.size();
    }
    body.reserve(saved + 1024); // grown in place: the journal of a whole table is large
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << qint64(part.size());
    for (auto it = part.begin(); it != part.end(); ++it) {
        out << it.key() << it->length << qint64(it->regions.size());
        for (const auto& [offset, bytes] : it->regions)
            out << offset << bytes;
    }
    return body;
}

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
    Part part;
    for (const FileRegion& region : regions) {
        SavedFile& entry = part[QFileInfo(region.path).fileName()];
        entry.length = files_.size(region.path);
        // Bytes past the file's end hold nothing to save: the length kept
        // with the part puts the end back.
        const qint64 length = qMin(region.length, entry.length - region.offset);
        if (length <= 0)
            continue;
        QFile& file = files_.file(region.path);
        if (!file.seek(region.offset))
            fail(region.path, file.errorString());
        const QByteArray bytes = file.read(length);
        if (bytes.size() != length)
            fail(region.path, file.errorString());
        entry.regions.append({region.offset, bytes});
    }
    const QByteArray body = serialize(part);
    QByteArray length(LengthSize, '\0');
    qToBigEndian<qint64>(body.size(), length.data());
    const QByteArray checksum = partChecksum(PartsMagic, body);
    for (const QByteArray* bytes :
         std::initializer_list<const QByteArray*>{&length, &body, &checksum}) {
        if (file_.write(*bytes) != bytes->size())
            fail(path_, file_.errorString());
    }
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
