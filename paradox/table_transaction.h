#pragma once

#include "paradox/pending_writes.h"
#include "paradox/rollback_journal.h"
#include "paradox/table_lock.h"

#include <QSet>
#include <QString>
#include <optional>

namespace paradox::codec {

// A table's open transaction: the lock, held from the beginning to the end,
// and the writes, held in memory until the commit.
class TableTransaction
{
public:
    // Takes the lock and rolls back what an interrupted write left.
    explicit TableTransaction(const QString& tablePath);

    PendingWrites& pending() { return pending_; }

    // The table's memo file, or an empty text; looked for once, as the lock
    // keeps the table's files where they are.
    const QString& memoPath();

    // After a write: changed pages beyond the limit go to the files now,
    // under a journal part made durable first, so that a transaction of
    // any size holds a bounded amount of memory. Other programs then see
    // the table half-written until the commit, but never a table the
    // journal cannot put back. Not while a savepoint is kept: going back to
    // it needs the pages.
    void spillIfLarge();
    // The bytes of changed pages held before they are spilled; 0 for the
    // program's own limit.
    static void setPendingLimit(qint64 bytes);

    // Goes back to a savepoint of the pending writes; 0 is the start of the
    // transaction, which spilled pages are put back for from the journal.
    void rollBackTo(int mark);

    // Saves what the writes overwrite in a journal and makes it durable,
    // writes the changed pages, makes the files durable and removes the
    // journal: from there on the transaction's writes count. A crash on the
    // way leaves the journal, which puts the old table back.
    void commit();
    // Drops the writes; what a commit that failed half-way wrote is put back
    // from its journal.
    void rollBack();

private:
    Journal& journal();
    void writePending();

    QString tablePath_;
    TableLock lock_;
    PendingWrites pending_;
    std::optional<Journal> journal_; // from the first spill or the commit
    QSet<QString> written_;          // the files the spills and the commit wrote
    std::optional<QString> memoPath_;
};

} // namespace paradox::codec
