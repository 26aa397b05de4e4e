#include "paradox/table_transaction.h"

#include "paradox/file_sync.h"
#include "paradox/rollback_journal.h"
#include "paradox/step_hook.h"

#include <QFileInfo>

namespace paradox::codec {

TableTransaction::TableTransaction(const QString& tablePath)
    : tablePath_(tablePath), lock_(tablePath)
{
    codec::rollBack(tablePath_); // under the lock: not a write going on right now
}

void TableTransaction::commit()
{
    if (pending_.isEmpty())
        return;
    Journal journal(tablePath_);
    journal.save(pending_.regionsToSave(), true);
    reachStep("journal written");
    OpenFiles& files = journal.files();
    const QStringList written = pending_.writeTo(files);
    reachStep("files written");
    for (const QString& path : written)
        syncToDisk(files.file(path));
    reachStep("files synced");
    journal.remove();
    // Once the commit has returned, a power cut must not bring the journal
    // back to undo it.
    syncFolder(QFileInfo(tablePath_).absolutePath());
    reachStep("journal removed");
}

void TableTransaction::rollBack()
{
    pending_.rollBackTo(0);
    codec::rollBack(tablePath_); // only a commit cut short leaves a journal
}

} // namespace paradox::codec
