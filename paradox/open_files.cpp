#include "paradox/open_files.h"

#include "core/error.h"

#include <QFileInfo>

namespace paradox::codec {

QFile& OpenFiles::file(const QString& path)
{
    Open& open = files_[path];
    if (!open.file) {
        open.file = std::make_unique<QFile>(path);
        // Unbuffered: what is written is in the file at once, and what is
        // read comes from the file, also after a rollback wrote it elsewhere.
        if (!open.file->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
            const QString problem = open.file->errorString();
            files_.erase(path);
            throw SkelvoError(
                QStringLiteral("%1 に書き込めません: %2").arg(QFileInfo(path).fileName(), problem));
        }
    }
    return *open.file;
}

qint64 OpenFiles::size(const QString& path)
{
    QFile& opened = file(path);
    Open& open = files_[path];
    if (open.size < 0)
        open.size = opened.size();
    return open.size;
}

void OpenFiles::wrote(const QString& path)
{
    files_[path].size = -1;
}

void OpenFiles::closeAll()
{
    files_.clear();
}

} // namespace paradox::codec
