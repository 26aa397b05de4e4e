#include "paradox/rollback_journal.h"

#include "core/error.h"
#include "paradox/file_sync.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <optional>

namespace paradox::codec {
namespace {

constexpr QByteArrayView Magic("SKVJRNL1");
constexpr auto Checksum = QCryptographicHash::Sha1;

struct SavedFile
{
    qint64 length = 0;
    QList<QPair<qint64, QByteArray>> regions;
};

// Saved files by name; they all live in the journal's folder.
using Saved = QMap<QString, SavedFile>;

[[noreturn]] void fail(const QString& path, const QString& problem)
{
    throw SkelvoError(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), problem));
}

Saved readOriginals(const QList<FileRegion>& regions)
{
    Saved saved;
    for (const FileRegion& region : regions) {
        QFile file(region.path);
        if (!file.open(QIODevice::ReadOnly))
            fail(region.path, file.errorString());
        SavedFile& entry = saved[QFileInfo(region.path).fileName()];
        entry.length = file.size();
        const qint64 length = qMin(region.length, entry.length - region.offset);
        if (length <= 0)
            continue; // beyond the end: cutting back to the length undoes it
        if (!file.seek(region.offset))
            fail(region.path, file.errorString());
        const QByteArray bytes = file.read(length);
        if (bytes.size() != length)
            fail(region.path, file.errorString());
        entry.regions.append({region.offset, bytes});
    }
    return saved;
}

QByteArray serialize(const Saved& saved)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << qint64(saved.size());
    for (auto it = saved.begin(); it != saved.end(); ++it) {
        out << it.key() << it->length << qint64(it->regions.size());
        for (const auto& [offset, bytes] : it->regions)
            out << offset << bytes;
    }
    return Magic.toByteArray() + body + QCryptographicHash::hash(body, Checksum);
}

// The saved files, or nothing when the journal is not complete.
std::optional<Saved> deserialize(const QByteArray& journal)
{
    const int checksumSize = QCryptographicHash::hashLength(Checksum);
    if (journal.size() < Magic.size() + checksumSize || !journal.startsWith(Magic))
        return std::nullopt;
    const QByteArray body =
        journal.sliced(Magic.size(), journal.size() - Magic.size() - checksumSize);
    if (QCryptographicHash::hash(body, Checksum) != journal.right(checksumSize))
        return std::nullopt;
    QDataStream in(body);
    in.setVersion(QDataStream::Qt_6_0);
    Saved saved;
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
        saved.insert(name, file);
    }
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return saved;
}

void restore(const QString& path, const SavedFile& saved)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        fail(path, file.errorString());
    for (const auto& [offset, bytes] : saved.regions) {
        if (!file.seek(offset) || file.write(bytes) != bytes.size())
            fail(path, file.errorString());
    }
    if (!file.resize(saved.length))
        fail(path, file.errorString());
    syncToDisk(file);
}

} // namespace

void writeJournal(const QString& journalPath, const QList<FileRegion>& regions)
{
    const QByteArray journal = serialize(readOriginals(regions));
    QFile file(journalPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(journal) != journal.size())
        fail(journalPath, file.errorString());
    syncToDisk(file);
    syncFolder(QFileInfo(journalPath).absolutePath());
}

void rollBack(const QString& journalPath)
{
    QFile file(journalPath);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        fail(journalPath, file.errorString());
    const std::optional<Saved> saved = deserialize(file.readAll());
    file.close();
    if (saved) {
        const QDir folder = QFileInfo(journalPath).absoluteDir();
        for (auto it = saved->begin(); it != saved->end(); ++it)
            restore(folder.filePath(it.key()), *it);
    }
    removeJournal(journalPath);
    syncFolder(QFileInfo(journalPath).absolutePath());
}

void removeJournal(const QString& journalPath)
{
    if (!QFile::remove(journalPath) && QFile::exists(journalPath))
        fail(journalPath, QStringLiteral("ジャーナルを削除できません。"));
}

} // namespace paradox::codec
