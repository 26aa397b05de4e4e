#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// A folder that exists for one test and is removed with everything in it.
class TempFolder
{
public:
    TempFolder();

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

    // Writes raw bytes, so a test controls encodings and line ends exactly.
    QString writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

private:
    QTemporaryDir dir_;
};

} // namespace testsupport
