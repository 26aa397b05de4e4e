#pragma once

#include <QByteArray>
#include <QString>

// What the fuzz targets share: a private folder for the files a target reads,
// and a property check that stops the run so the fuzzer keeps the input.
namespace fuzzsupport {

// Writes the bytes to the file of that name in a folder that lives as long
// as the process, and returns the file's path.
QString scratchFile(const QString& name, const QByteArray& bytes);

// Removes the file of that name from the scratch folder, if it is there.
void removeScratchFile(const QString& name);

// Aborts with the message when the property does not hold.
void require(bool holds, const char* property);

} // namespace fuzzsupport
