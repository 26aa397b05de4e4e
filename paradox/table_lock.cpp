#include "paradox/table_lock.h"

#include "core/error.h"
#include "paradox/table_files.h"

#include <QFileInfo>

namespace paradox::codec {
namespace {

constexpr int WaitMilliseconds = 500;

} // namespace

TableLock::TableLock(const QString& tablePath) : lock_(lockPath(tablePath))
{
    // A lock is stale when the program holding it has ended, not after a time:
    // a long write must not lose its lock.
    lock_.setStaleLockTime(0);
    if (lock_.tryLock(WaitMilliseconds))
        return;
    const QString name = QFileInfo(tablePath).fileName();
    if (lock_.error() == QLockFile::LockFailedError)
        throw SkelvoError(QStringLiteral("テーブル %1 は別のプログラムが書き込み中です。"
                                         "しばらくしてからやり直してください。")
                              .arg(name));
    throw SkelvoError(QStringLiteral("テーブル %1 のロックファイル %2 を作れません。")
                          .arg(name, QFileInfo(lockPath(tablePath)).fileName()));
}

} // namespace paradox::codec
