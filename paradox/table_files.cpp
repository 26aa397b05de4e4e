#include "paradox/table_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace paradox::codec {
namespace {

// Files beside the table with its base name and an extension that matches
// the pattern, both compared without regard to case.
QStringList besideTable(const QString& tablePath, const QString& extensionPattern)
{
    const QFileInfo table(tablePath);
    const QRegularExpression name(
        QStringLiteral("^%1\\.(%2)$")
            .arg(QRegularExpression::escape(table.completeBaseName()), extensionPattern),
        QRegularExpression::CaseInsensitiveOption);
    QStringList paths;
    const QDir folder = table.absoluteDir();
    for (const QString& entry : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (name.match(entry).hasMatch())
            paths.append(folder.filePath(entry));
    }
    return paths;
}

} // namespace

QString existingMemoPath(const QString& tablePath)
{
    const QStringList found = besideTable(tablePath, QStringLiteral("mb"));
    return found.isEmpty() ? QString() : found.front();
}

QString newMemoPath(const QString& tablePath)
{
    const QFileInfo table(tablePath);
    const bool lowerCase = table.suffix() == table.suffix().toLower();
    return table.absoluteDir().filePath(
        table.completeBaseName() + (lowerCase ? QStringLiteral(".mb") : QStringLiteral(".MB")));
}

QStringList existingCompanions(const QString& tablePath)
{
    return besideTable(tablePath,
                       QStringLiteral("mb|px|x[0-9a-f]{2}|y[0-9a-f]{2}|xg[0-9a-f]|yg[0-9a-f]|"
                                      "val|tv|fam"));
}

QStringList sameNameTables(const QString& tablePath)
{
    QStringList tables = besideTable(tablePath, QStringLiteral("db"));
    tables.removeAll(QFileInfo(tablePath).absoluteFilePath());
    return tables;
}

QString journalPath(const QString& tablePath)
{
    return tablePath + QStringLiteral(".journal");
}

QString lockPath(const QString& tablePath)
{
    return tablePath + QStringLiteral(".lock");
}

} // namespace paradox::codec
