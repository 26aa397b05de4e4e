#include "paradox/table_lock.h"

#include "core/error.h"
#include "paradox/table_files.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace paradox::codec {
namespace {

// Another instance's write holds the lock for milliseconds, but a slow disk
// or a busy machine can stretch that: a writer waits this long before it
// reports the conflict, looking again at short intervals.
constexpr int LongestWaitMilliseconds = 2000;
constexpr qint64 LookAgainMilliseconds = 20;
// A program writes its name into its new lock file at once.
constexpr qint64 OwnerNamedWithinMilliseconds = 1000;

// A lock file that still names no owner a while after it was made: its
// program was killed between creating it and writing its name, and
// QLockFile, with no stale time, would never take it over. A living owner
// keeps its file locked, so that removeStaleLockFile() leaves it alone.
bool namesNoOwner(const QLockFile& lock, const QString& path)
{
    qint64 pid = 0;
    QString host;
    QString program;
    return !lock.getLockInfo(&pid, &host, &program) &&
           QFileInfo(path).lastModified().msecsTo(QDateTime::currentDateTime()) >
               OwnerNamedWithinMilliseconds;
}

// QLockFile removes a lock whose program ended only while it holds a lock
// of its own beside it (the name with ".rmlock"). A program killed just as
// it made that file leaves it naming no owner, and QLockFile would then wait
// half a minute before taking it over, keeping every writer out meanwhile:
// such a file is removed by the same rule as the table's own lock file.
bool removeOwnerlessRemovalLock(const QString& lockPath)
{
    const QString path = lockPath + QStringLiteral(".rmlock");
    if (!QFileInfo::exists(path))
        return false;
    QLockFile removal(path);
    return namesNoOwner(removal, path) && removal.removeStaleLockFile();
}

} // namespace

TableLock::TableLock(const QString& tablePath) : lock_(lockPath(tablePath))
{
    // A lock is stale when the program holding it has ended, not after a time:
    // a long write must not lose its lock.
    lock_.setStaleLockTime(0);
    const QDeadlineTimer deadline(LongestWaitMilliseconds);
    while (!lock_.tryLock(0)) {
        if (lock_.error() != QLockFile::LockFailedError)
            throw SkelvoError(QStringLiteral("テーブル %1 のロックファイル %2 を作れません。")
                                  .arg(QFileInfo(tablePath).fileName(),
                                       QFileInfo(lockPath(tablePath)).fileName()));
        if (namesNoOwner(lock_, lockPath(tablePath)) && lock_.removeStaleLockFile())
            continue;
        if (removeOwnerlessRemovalLock(lockPath(tablePath)))
            continue;
        if (deadline.hasExpired())
            throw SkelvoError(QStringLiteral("テーブル %1 は別のプログラムが書き込み中です。"
                                             "しばらくしてからやり直してください。")
                                  .arg(QFileInfo(tablePath).fileName()));
        QThread::msleep(ulong(qMin(LookAgainMilliseconds, deadline.remainingTime())));
    }
}

} // namespace paradox::codec
