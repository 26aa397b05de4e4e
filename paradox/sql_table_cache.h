#pragma once

#include "paradox/paradox_table.h"
#include "paradox/sql_row_index.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <unordered_map>

namespace paradox::sql {

// The state of a table file when it was read: a change by another program
// shows in its size, its modification time, or the counters at the head of
// the file, which every write changes (the file clock alone is too coarse
// to tell two writes in quick succession apart).
struct FileStamp
{
    qint64 size = -1;
    qint64 modified = 0; // file clock ticks
    QByteArray head;
    bool operator==(const FileStamp&) const = default;
};

// One table with its records as last read, kept between statements.
struct CachedTable
{
    QString name; // as the file names it, without the extension
    QString path;
    Table table;
    QList<Record> records;
    FileStamp stamp;
    quint64 generation = 0;                    // of this process's writes to the file
    bool stale = false;                        // the copy may differ from the file: read it again
    std::unordered_map<int, RowIndex> indexes; // by field, built when first asked for
};

// The tables of one folder, read once and then reused until their files
// change. Names are matched to files in any letter case, with or without
// the .DB extension, as Paradox folders from Windows use them.
class TableCache
{
public:
    explicit TableCache(QString folder);

    const QString& folder() const { return folder_; }

    // The table by name, read again first when its file changed since.
    // Raises SkelvoError when there is no such table. A table within a
    // transaction is this program's alone until the transaction ends, so its
    // file is not looked at for changes by others.
    CachedTable& table(const QString& name);

    // The file of an existing table, without reading it. Raises when there
    // is none.
    QString existingPath(const QString& name) const;

    // Where a new table of this name goes. Raises when a table of that name
    // exists in any letter case, or when the name is not a plain file name.
    QString newTablePath(const QString& name) const;

    // The table files in the folder, by name without extension, sorted.
    QStringList tableNames() const;

    // The rows by the value of an integer field, kept up to date from here on.
    const RowIndex& index(CachedTable& table, int field);

    // The engine's own writes, so that its copy follows the file without
    // reading it again. A changed record is kept as the file now holds it
    // (text cut to its width, in the form its code page stores it), so that
    // this engine shows what every other reader of the file sees.
    void appended(CachedTable& table, RecordPosition position, const Row& row);
    // fields: those the write set; the others hold what was read.
    void updated(CachedTable& table, qsizetype index, Row row, const QList<int>& fields);
    void rewritten(CachedTable& table); // records moved: read again now
    void invalidate(CachedTable& table);
    // Its transaction's writes now count for other engines too.
    void committed(CachedTable& table);

    // Once the table's lock is taken for a write: raises, and reads the
    // table again at the next statement, when another program changed the
    // file since the copy was read. From here to the end of the write the
    // copy is the file as this engine changes it.
    void requireUnchanged(CachedTable& table);

    // Before a table's files are removed.
    void forget(const QString& path);

private:
    std::unique_ptr<CachedTable> read(const QString& path) const;
    static void readAgain(CachedTable& table);
    static void indexRowNumbers(CachedTable& table);
    void wrote(CachedTable& table);

    QString folder_;
    std::unordered_map<QString, std::unique_ptr<CachedTable>> tables_; // by folded file name
};

} // namespace paradox::sql
