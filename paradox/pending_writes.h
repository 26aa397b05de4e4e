#pragma once

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>

namespace paradox::codec {

struct FileRegion;
class OpenFiles;

// The writes of an open transaction, held in memory in pages until its
// commit. The table's files stay as they were meanwhile, so another program
// reading them sees the table as it was, and a page that the transaction
// changes many times is journalled and written once. The transaction holds
// the table's lock, so the files on disk do not change under it.
class PendingWrites
{
public:
    // The file as the transaction has it: its bytes on disk with the
    // pending writes over them, for reading and writing. It must not
    // outlive this object.
    std::unique_ptr<QIODevice> view(const QString& path);

    qint64 size(const QString& path);
    // Up to `length` bytes from `offset`, fewer at the end of the file.
    qint64 read(const QString& path, qint64 offset, char* data, qint64 length);
    void write(const QString& path, qint64 offset, QByteArrayView bytes);
    // A file cut shorter loses its bytes from there on, also when it grows
    // again.
    void resize(const QString& path, qint64 size);

    bool isEmpty() const;
    // The memory the changed pages take.
    qint64 heldBytes() const;
    bool hasMarks() const { return !marks_.isEmpty(); }
    // After the writes went to the files: the files as they are now.
    void clear();

    // What the commit must journal before it writes: every changed range,
    // and what a file made shorter lets go of.
    QList<FileRegion> regionsToSave() const;
    // Writes the changed ranges to the files, each run of pages at once,
    // and gives each file its new length. Returns the files written.
    QStringList writeTo(OpenFiles& files) const;

    // A mark to go back to, by a number above 0. Going back to a mark drops
    // the writes after it and the marks taken since; 0 drops every write.
    // A mark costs what the writes after it change, so a mark no longer
    // wanted is released.
    int mark();
    void rollBackTo(int mark);
    void release(int mark);

private:
    struct File
    {
        qint64 size = 0;
        qint64 sizeOnDisk = 0;
        // The bytes of the file on disk below this still show through.
        qint64 diskReach = 0;
        std::map<qint64, QByteArray> pages; // by page number, each a whole page
    };
    // What a file was at a mark, kept as the writes after it change it:
    // each page as it was (none where there was none) and the sizes.
    struct FileBefore
    {
        qint64 size = 0;
        qint64 diskReach = 0;
        std::map<qint64, std::optional<QByteArray>> pages;
    };
    struct Mark
    {
        int number = 0;
        QHash<QString, FileBefore> files;
    };

    File& file(const QString& path);
    // Before a change of the file or its page: keeps what it was at the
    // latest mark.
    void keepForMark(const QString& path, const File& file, std::optional<qint64> page);
    QList<Mark>::iterator findMark(int mark);
    QByteArray& page(const QString& path, File& file, qint64 number);
    QFile& disk(const QString& path);
    void readDisk(const QString& path, qint64 offset, char* data, qint64 length);

    QHash<QString, File> files_;
    std::map<QString, std::unique_ptr<QFile>> disk_;
    // The bytes last read from disk with those after them: a transaction
    // mostly goes through a table in order, a page after the page before.
    struct ReadAhead
    {
        QString path;
        qint64 offset = 0;
        QByteArray bytes;
    };
    ReadAhead readAhead_;
    QList<Mark> marks_; // oldest first
    int lastMark_ = 0;
};

} // namespace paradox::codec
