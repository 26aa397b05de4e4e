#include "paradox/rollback_journal.h"

#include "core/error.h"
#include "paradox/file_sync.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QtEndian>
#include <map>
#include <memory>
#include <optional>

namespace paradox::codec {
namespace {

// A journal of single writes, as earlier runs of the program left them:
// one part, its checksum at the end.
constexpr QByteArrayView WholeMagic("SKVJRNL1");
// Parts one after another, each as its length, its body and its checksum.
constexpr QByteArrayView PartsMagic("SKVJRNL2");
constexpr auto Checksum = QCryptographicHash::Sha1;
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

bool checksumMatches(QByteArrayView body, QByteArrayView checksum)
{
    return QCryptographicHash::hash(body, Checksum) == checksum;
}

// The complete parts of the journal bytes from `from` on, in the order
// written; a part cut short or damaged ends the list, as its write never
// began.
QList<Part> completeParts(const QByteArray& journal, qsizetype from)
{
    const int checksumSize = QCryptographicHash::hashLength(Checksum);
    QList<Part> parts;
    if (journal.startsWith(WholeMagic)) {
        const qsizetype bodySize = journal.size() - WholeMagic.size() - checksumSize;
        if (bodySize < 0 || !checksumMatches(journal.sliced(WholeMagic.size(), bodySize),
                                             journal.right(checksumSize)))
            return parts;
        if (std::optional<Part> part = deserialize(journal.sliced(WholeMagic.size(), bodySize)))
            parts.append(*part);
        return parts;
    }
    if (!journal.startsWith(PartsMagic))
        return parts;
    qsizetype at = qMax(from, qsizetype(PartsMagic.size()));
    while (journal.size() - at >= LengthSize) {
        const qint64 bodySize = qFromBigEndian<qint64>(journal.constData() + at);
        if (bodySize < 0 || bodySize > journal.size() - at - LengthSize - checksumSize)
            break;
        const QByteArrayView body(journal.constData() + at + LengthSize, bodySize);
        if (!checksumMatches(body, QByteArrayView(body.data() + bodySize, checksumSize)))
            break;
        std::optional<Part> part = deserialize(body.toByteArray());
        if (!part)
            break;
        parts.append(*part);
        at += LengthSize + bodySize + checksumSize;
    }
    return parts;
}

// Undoes the parts, latest first, and makes the restored files durable.
void undo(const QDir& folder, const QList<Part>& parts)
{
    std::map<QString, std::unique_ptr<QFile>> files;
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        for (auto it = part->begin(); it != part->end(); ++it) {
            std::unique_ptr<QFile>& file = files[it.key()];
            if (!file) {
                file = std::make_unique<QFile>(folder.filePath(it.key()));
                if (!file->open(QIODevice::ReadWrite))
                    fail(file->fileName(), file->errorString());
            }
            for (const auto& [offset, bytes] : it->regions) {
                if (!file->seek(offset) || file->write(bytes) != bytes.size())
                    fail(file->fileName(), file->errorString());
            }
            if (!file->resize(it->length))
                fail(file->fileName(), file->errorString());
        }
    }
    for (auto& [name, file] : files)
        syncToDisk(*file);
}

void removeJournalFile(const QString& path)
{
    if (!QFile::remove(path) && QFile::exists(path))
        fail(path, QStringLiteral("ジャーナルを削除できません。"));
}

} // namespace

Journal::Journal(QString path) : path_(std::move(path)), file_(path_)
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
        if (!floors_.contains(region.path))
            floors_.insert(region.path, entry.length);
        // Bytes past the file's end hold nothing to save: a file rewritten
        // shorter in this transaction had all of it saved before, and the
        // length kept with each part puts its end back.
        const qint64 floor = qMin(floors_.value(region.path), entry.length);
        const qint64 length = qMin(region.length, floor - region.offset);
        if (length <= 0 || saved_.contains({region.path, region.offset, length}))
            continue;
        saved_.insert({region.path, region.offset, length});
        QFile& file = files_.file(region.path);
        if (!file.seek(region.offset))
            fail(region.path, file.errorString());
        const QByteArray bytes = file.read(length);
        if (bytes.size() != length)
            fail(region.path, file.errorString());
        entry.regions.append({region.offset, bytes});
    }
    const QByteArray body = serialize(part);
    QByteArray bytes(LengthSize, '\0');
    qToBigEndian<qint64>(body.size(), bytes.data());
    bytes += body;
    bytes += QCryptographicHash::hash(body, Checksum);
    const qint64 end = partEnds_.isEmpty() ? PartsMagic.size() : partEnds_.last();
    if (!file_.seek(end) || file_.write(bytes) != bytes.size() || !file_.flush())
        fail(path_, file_.errorString());
    if (durable) {
        syncToDisk(file_);
        if (partEnds_.isEmpty())
            syncFolder(QFileInfo(path_).absolutePath());
    }
    partEnds_.append(file_.pos());
}

int Journal::mark()
{
    saved_.clear();
    floors_.clear();
    return int(partEnds_.size());
}

void Journal::rollBackTo(int mark)
{
    if (mark >= partEnds_.size())
        return;
    const qint64 from = mark > 0 ? partEnds_[mark - 1] : PartsMagic.size();
    if (!file_.seek(0))
        fail(path_, file_.errorString());
    const QByteArray journal = file_.readAll();
    files_.closeAll(); // their sizes change
    undo(QFileInfo(path_).absoluteDir(), completeParts(journal, from));
    if (!file_.resize(from))
        fail(path_, file_.errorString());
    partEnds_.resize(mark);
    this->mark();
}

void Journal::remove()
{
    files_.closeAll();
    file_.close();
    removeJournalFile(path_);
}

void rollBack(const QString& journalPath)
{
    QFile file(journalPath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        fail(journalPath, file.errorString());
    const QByteArray journal = file.readAll();
    file.close();
    undo(QFileInfo(journalPath).absoluteDir(), completeParts(journal, 0));
    removeJournalFile(journalPath);
    syncFolder(QFileInfo(journalPath).absolutePath());
}

} // namespace paradox::codec
