#pragma once

#include "paradox/open_files.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// A write in place first saves, beside the table, what it is about to
// overwrite: each file's length and the original bytes of every region it
// changes. Should the write stop half-way, putting those back restores the
// table as it was. The journal is a series of parts (earlier runs of the
// program wrote one for each write of a transaction); a part only counts
// once it is complete, and the files are not touched before their part is
// written.
//
// A journal is a file anyone with the folder can write, so reading one
// trusts nothing in it: it may only restore the files of the table it lies
// beside, named from the table, within the bytes they have or the journal
// saved. A journal that breaks any of that, or a part of it that fails its
// check before the last, is damaged: it is applied not at all, left where
// it is for the user, and the table is refused.
namespace paradox::codec {

struct FileRegion
{
    QString path;
    qint64 offset = 0;
    qint64 length = 0;
};

class Journal
{
public:
    // Starts an empty journal beside the table.
    explicit Journal(const QString& tablePath);

    // Saves the current lengths of the files and the current bytes of the
    // regions, as far as the files reach, as one part; flushed to disk when
    // `durable`.
    void save(const QList<FileRegion>& regions, bool durable);

    // Ends the journal once the writes it covers are on disk.
    void remove();

    // The files the journal covers, open for the writes it saves them for.
    OpenFiles& files() { return files_; }

private:
    QString path_;
    QFile file_;
    OpenFiles files_;
};

// The checksum a journal with this heading carries after each part's body.
QByteArray partChecksum(QByteArrayView magic, QByteArrayView body);

// Puts back what the complete parts of the journal beside the table saved,
// latest first, flushed to disk, and removes the journal. Does nothing when
// there is no journal; raises, touching nothing, when it is damaged.
void rollBack(const QString& tablePath);

} // namespace paradox::codec
