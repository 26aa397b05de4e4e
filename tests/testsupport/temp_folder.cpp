#include "tests/testsupport/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace testsupport {

TempFolder::TempFolder()
{
    if (!dir_.isValid())
        ADD_FAILURE() << "cannot create a temporary folder: " << dir_.errorString().toStdString();
}

QString TempFolder::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString path = filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

QByteArray TempFolder::readFile(const QString& name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace testsupport
