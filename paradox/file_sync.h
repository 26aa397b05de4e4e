#pragma once

#include <QString>

class QFile;

namespace paradox::codec {

// Makes what was written to an open file durable before the next step
// relies on it: the platform's file flush (fsync, or _commit on Windows).
void syncToDisk(QFile& file);

// Makes a file's creation, removal or renaming in a folder durable. Only
// POSIX systems need this; elsewhere it does nothing.
void syncFolder(const QString& folderPath);

} // namespace paradox::codec
