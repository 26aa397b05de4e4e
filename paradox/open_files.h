#pragma once

#include <QFile>
#include <QString>
#include <map>
#include <memory>

namespace paradox::codec {

// The table's files as a write keeps them open for reading and writing, so
// that the many small writes of a transaction do not open and close them
// each time.
class OpenFiles
{
public:
    // Opened for reading and writing at first use; raises when it cannot be.
    QFile& file(const QString& path);
    // The size of an open file, looked up once until the file is written.
    qint64 size(const QString& path);
    void wrote(const QString& path);

    // Before a file is replaced by another of the same name.
    void closeAll();

private:
    struct Open
    {
        std::unique_ptr<QFile> file;
        qint64 size = -1;
    };
    std::map<QString, Open> files_;
};

} // namespace paradox::codec
