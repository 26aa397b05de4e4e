#pragma once

#include <QString>

// One sample aircraft in a folder store, for trying the program out.
namespace DemoLogbook {

inline const QString TableName = QStringLiteral("JA2401");

// Makes the folder with the command files and the sample table filled with a
// spring of flights; a folder that already holds the table is left as it
// is. Raises SkelvoError when the folder cannot be made.
void create(const QString& folder, const QString& commandsFolder);

// Sets the sample table's maintenance limits in a settings file, one of
// them close to falling due, unless the file already sets some. Raises
// SkelvoError when the file cannot be written.
void writeLimits(const QString& settingsFile);

} // namespace DemoLogbook
