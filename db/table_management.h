#pragma once

#include <QString>
#include <QStringList>

class StoreConnections;

// Aircraft tables in the configured store: listing, creating from command
// files, dropping and emptying. Errors are raised for the caller to show.
namespace TableManagement {

// Replaces the names in the list with the store's table names; leaves the
// list as it was when no connection can be made. Ends disconnected.
void ListTableNames(StoreConnections& store, QStringList& names);

// Removes every row of the table in use.
void EmptyLogTable(StoreConnections& store);

// The ct that follows the last row of the table in use (1 for an empty
// table), read through the log table ordered by ct,sb, which is closed
// again; the order stays set. Raises SkelvoError when it cannot be opened.
int NextCtAfterLastRow(StoreConnections& store);

// Runs one statement that returns no rows on the current kind's row-set.
void RunStatement(StoreConnections& store, const QString& statement);

// The command files that create a table, by store kind.
QString tableCommandFileName(int kind);
QString indexCommandFileName(int kind); // empty when the kind has none

// Reads a command file (CP932, or UTF-8/UTF-16 with a byte-order mark).
QString readCommandFile(const QString& path);
// Makes the single statement a command file holds: tabs become blanks,
// "%%" becomes the table name, empty lines and lines starting with "--"
// go, and the remaining lines are joined with CR LF.
QString prepareCommand(const QString& fileText, const QString& tableName);

// The longest name a new table may have: it must fit the callsign column
// of every shipped table layout, which stores it.
constexpr int MaxNewTableNameLength = 32;

// Why a new table may not have this name, empty when it may. A new name
// holds only ASCII letters, digits and '_': the command files put it into
// their statements unquoted, and every file system takes it as a file name.
// A server whose SQL reads a leading digit as a number, and an empty name,
// are left to the store to refuse with its own message.
QString newTableNameProblem(const QString& tableName);

// Creates the table from the kind's command files in the given folder;
// the store stays connected. A name refused by newTableNameProblem()
// raises before anything is sent.
void CreateLogTable(StoreConnections& store, const QString& tableName, const QString& folder);

// Drops the table; ends disconnected (a failed drop stays connected).
void DropLogTable(StoreConnections& store, const QString& tableName);

} // namespace TableManagement
