#pragma once

#include <QLockFile>
#include <QString>

namespace paradox::codec {

// Held while a table is being written, so that a second instance of the
// program does not write it at the same time. A lock left by a program that
// ended without releasing it is taken over.
class TableLock
{
public:
    // Waits up to two seconds for the lock; raises an error when another
    // program still holds it then.
    explicit TableLock(const QString& tablePath);

private:
    QLockFile lock_;
};

} // namespace paradox::codec
