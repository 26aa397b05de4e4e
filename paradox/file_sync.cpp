#include "paradox/file_sync.h"

#include "core/error.h"
#include "paradox/step_hook.h"

#include <QFile>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace paradox::codec {

void syncToDisk(QFile& file)
{
    if (!file.flush())
        throw SkelvoError(
            QStringLiteral("%1 に書き込めません: %2").arg(file.fileName(), file.errorString()));
#ifdef Q_OS_WIN
    const bool synced = _commit(file.handle()) == 0;
#else
    const bool synced = ::fsync(file.handle()) == 0;
#endif
    if (!synced)
        throw SkelvoError(QStringLiteral("%1 をディスクに書き出せません。").arg(file.fileName()));
    reachSync(file.fileName());
}

void syncFolder(const QString& folderPath)
{
#ifndef Q_OS_WIN
    const int handle = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY);
    if (handle < 0)
        return; // the files themselves were synced; this only adds durability of the names
    ::fsync(handle);
    ::close(handle);
#else
    Q_UNUSED(folderPath);
#endif
}

} // namespace paradox::codec
