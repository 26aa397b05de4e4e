#pragma once

#include <QString>
#include <QStringList>

// The files that belong to a table beside its .DB file. Tables come from
// Windows, where letter case does not matter, so a companion is found
// whatever the case of its name.
namespace paradox::codec {

// The memo file (.MB) that exists beside the table, or an empty text.
QString existingMemoPath(const QString& tablePath);

// Where a new memo file goes: the table's name with .MB, in the letter case
// of the table's extension.
QString newMemoPath(const QString& tablePath);

// Every companion file that exists: memo, primary and secondary indexes,
// validity checks and saved views.
QStringList existingCompanions(const QString& tablePath);

// Other tables' files with the same name in another letter case.
QStringList sameNameTables(const QString& tablePath);

QString journalPath(const QString& tablePath);
QString lockPath(const QString& tablePath);

} // namespace paradox::codec
