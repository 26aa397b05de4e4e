#pragma once

#include "paradox/chain_counts.h"
#include "paradox/code_page.h"
#include "paradox/memo_file.h"
#include "paradox/paradox_table.h"
#include "paradox/table_header.h"
#include "paradox/table_transaction.h"

#include <QFile>
#include <QHash>
#include <memory>

namespace paradox {
namespace codec {

// What an open table knows about its file. The header is read again at each
// read and write, since another program may have changed the table since.
struct TableState
{
    QString path;
    QString fileName;
    codec::TableHeader header;
    QList<Field> fields;
    TableInfo info;
    codec::CodePage codePage{0};
    // A sub-allocated memo block this program started, which later values
    // may fill (0 when none).
    qint64 openSubBlock = 0;
    codec::ChainCounts chain;
    // Open from beginTransaction() to commit() or rollBack(). While it is,
    // the table's lock is held, so the header in memory is the one on disk.
    std::unique_ptr<TableTransaction> transaction;

    // The open transaction; an error when none is.
    TableTransaction& openTransaction() const;

    // Opens one of the table's files for reading where the records are: as
    // it is on disk, or within a transaction as the transaction has it.
    std::unique_ptr<QIODevice> openForReading(const QString& filePath) const;
    // Reads the header again; a table whose fields changed meanwhile is an
    // error, as rows built for the old fields would not fit.
    void refresh(QIODevice& file);
    void takeHeader(const codec::TableHeader& header);
    // After writes were undone: what was learnt from them no longer holds.
    void forgetWrites();
    void checkRowSize(const Row& row) const;
    bool hasBlobFields() const;
    // The memo file, when the table has blob fields and the file exists; an
    // empty text otherwise.
    QString memoPath() const;
    // The memo file, when the table has blob fields and the file exists;
    // null otherwise.
    std::unique_ptr<MemoFile> openMemoFile() const;
    [[noreturn]] void fail(const QString& problem) const;
};

} // namespace codec

struct Table::Data : codec::TableState
{
};

} // namespace paradox
