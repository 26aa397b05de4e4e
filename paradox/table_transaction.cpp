#include "paradox/table_transaction.h"

#include "core/error.h"
#include "paradox/file_sync.h"
#include "paradox/step_hook.h"
#include "paradox/table_files.h"

#include <QFileInfo>

namespace paradox::codec {
namespace {

const QString& afterLeftoverRolledBack(const QString& tablePath)
{
    rollBack(tablePath);
    return tablePath;
}

void syncExisting(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw SkelvoError(QStringLiteral("%1 に書き込めません: %2")
                              .arg(QFileInfo(path).fileName(), file.errorString()));
    syncToDisk(file);
}

} // namespace

TableTransaction::TableTransaction(const QString& tablePath)
    : lock_(tablePath), journal_(afterLeftoverRolledBack(tablePath))
{}

void TableTransaction::commit(const QString& tablePath)
{
    syncExisting(tablePath);
    if (const QString memo = existingMemoPath(tablePath); !memo.isEmpty())
        syncExisting(memo);
    reachStep("files synced");
    journal_.remove();
    reachStep("journal removed");
}

void TableTransaction::rollBack()
{
    journal_.rollBackTo(0);
    journal_.remove();
}

} // namespace paradox::codec
