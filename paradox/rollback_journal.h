#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// A write in place first saves, beside the table, what it is about to
// overwrite: each file's length and the original bytes of every region it
// changes. Should the write stop half-way, putting those back restores the
// table as it was. The journal only counts once it is complete and on disk,
// and the files are not touched before then.
namespace paradox::codec {

struct FileRegion
{
    QString path;
    qint64 offset = 0;
    qint64 length = 0;
};

// Saves the current lengths of the files and the current bytes of the
// regions (as far as they lie within the files), flushed to disk.
void writeJournal(const QString& journalPath, const QList<FileRegion>& regions);

// Puts back what a complete journal saved, flushed to disk, and removes the
// journal; an incomplete one is only removed. Does nothing when there is no
// journal.
void rollBack(const QString& journalPath);

// Ends a write that completed.
void removeJournal(const QString& journalPath);

} // namespace paradox::codec
