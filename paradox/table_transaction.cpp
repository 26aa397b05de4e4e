#include "paradox/table_transaction.h"

#include "paradox/file_sync.h"
#include "paradox/rollback_journal.h"
#include "paradox/step_hook.h"
#include "paradox/table_files.h"

#include <QFileInfo>

namespace paradox::codec {

TableTransaction::TableTransaction(const QString& tablePath)
    : tablePath_(tablePath), lock_(tablePath)
{
    codec::rollBack(tablePath_); // under the lock: not a write going on right now
}

namespace {

// A whole-table recalculation of 25,000 log rows fits.
constexpr qint64 OwnPendingLimit = 64 * 1024 * 1024;

qint64& pendingLimit()
{
    static qint64 limit = OwnPendingLimit;
    return limit;
}

} // namespace

void TableTransaction::setPendingLimit(qint64 bytes)
{
    pendingLimit() = bytes > 0 ? bytes : OwnPendingLimit;
}

const QString& TableTransaction::memoPath()
{
    if (!memoPath_)
        memoPath_ = existingMemoPath(tablePath_);
    return *memoPath_;
}

Journal& TableTransaction::journal()
{
    if (!journal_)
        journal_.emplace(tablePath_);
    return *journal_;
}

// Journals what the pending writes overwrite, makes that durable, and
// writes them.
void TableTransaction::writePending()
{
    journal().save(pending_.regionsToSave(), true);
    reachStep("journal written");
    for (const QString& path : pending_.writeTo(journal_->files()))
        written_.insert(path);
    pending_.clear();
    reachStep("files written");
}

void TableTransaction::spillIfLarge()
{
    if (pending_.heldBytes() > pendingLimit() && !pending_.hasMarks())
        writePending();
}

void TableTransaction::commit()
{
    if (pending_.isEmpty() && !journal_)
        return;
    if (!pending_.isEmpty())
        writePending();
    OpenFiles& files = journal_->files();
    for (const QString& path : std::as_const(written_))
        syncToDisk(files.file(path));
    reachStep("files synced");
    journal_->remove();
    journal_.reset();
    // Once the commit has returned, a power cut must not bring the journal
    // back to undo it.
    syncFolder(QFileInfo(tablePath_).absolutePath());
    reachStep("journal removed");
}

void TableTransaction::rollBackTo(int mark)
{
    pending_.rollBackTo(mark);
    if (mark == 0 && journal_) {
        journal_.reset(); // closes it, for the rollback to read and remove
        written_.clear();
        codec::rollBack(tablePath_);
    }
}

void TableTransaction::rollBack()
{
    pending_.rollBackTo(0);
    journal_.reset();
    codec::rollBack(tablePath_); // what spills or a commit cut short wrote
}

} // namespace paradox::codec
