#pragma once

#include "paradox/pending_writes.h"
#include "paradox/table_lock.h"

#include <QString>

namespace paradox::codec {

// A table's open transaction: the lock, held from the beginning to the end,
// and the writes, held in memory until the commit.
class TableTransaction
{
public:
    // Takes the lock and rolls back what an interrupted write left.
    explicit TableTransaction(const QString& tablePath);

    PendingWrites& pending() { return pending_; }

    // Saves what the writes overwrite in a journal and makes it durable,
    // writes the changed pages, makes the files durable and removes the
    // journal: from there on the transaction's writes count. A crash on the
    // way leaves the journal, which puts the old table back.
    void commit();
    // Drops the writes; what a commit that failed half-way wrote is put back
    // from its journal.
    void rollBack();

private:
    QString tablePath_;
    TableLock lock_;
    PendingWrites pending_;
};

} // namespace paradox::codec
