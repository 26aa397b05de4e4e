#pragma once

#include "paradox/rollback_journal.h"
#include "paradox/table_lock.h"

#include <QString>

namespace paradox::codec {

// A table's open transaction: the lock, held from the beginning to the end,
// and the one journal that every write of the transaction adds to.
class TableTransaction
{
public:
    // Takes the lock and rolls back what an interrupted write left.
    explicit TableTransaction(const QString& tablePath);

    Journal& journal() { return journal_; }

    // Makes the table's files durable, then removes the journal: from here
    // on the transaction's writes count.
    void commit(const QString& tablePath);
    // Puts back what the transaction changed and removes the journal.
    void rollBack();

private:
    TableLock lock_;
    Journal journal_;
};

} // namespace paradox::codec
