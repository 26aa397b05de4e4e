#pragma once

#include <QString>
#include <QStringList>

// The settings file: one INI file for all persistent settings. Each call
// opens the file, does one read or one write and closes it, so every value
// is read when it is needed and every write reaches the file at once.
// Reads never fail loudly (a missing key gives the default); writes return
// 0 or -1 and never raise.
namespace MyutyFiles {

QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue);
int IniWriteString(const QString& path, const QString& section, const QString& key,
                   const QString& value);

int IniReadInteger(const QString& path, const QString& section, const QString& key,
                   int defaultValue);
int IniWriteInteger(const QString& path, const QString& section, const QString& key, int value);

bool IniReadBool(const QString& path, const QString& section, const QString& key,
                 bool defaultValue);
int IniWriteBool(const QString& path, const QString& section, const QString& key, bool value);

// History lists: one key per entry, list name + index ("crew0", "crew1", ...).
// Returns the number of entries read, or -1.
int ReadHistoryList(const QString& path, const QString& section, const QString& listName,
                    QStringList& list);
// Returns the number of entries written, or -1.
int WriteHistoryList(const QString& path, const QString& section, const QString& listName,
                     const QStringList& list);

} // namespace MyutyFiles
