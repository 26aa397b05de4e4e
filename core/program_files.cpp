#include "core/program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFiles {

namespace {

QString dataBesideBin(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/../share/skelvo"));
}

} // namespace

Places ofThisProgram()
{
    return {QCoreApplication::applicationDirPath(), QDir::currentPath(),
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
            QStringLiteral(SKELVO_INSTALLED_DATADIR)};
}

QString dataFolderFor(const Places& places)
{
    const QString beside = dataBesideBin(places.programFolder);
    return QFileInfo(beside).isDir() ? beside : places.installedDataFolder;
}

QString commandFolder(const Places& places, const QString& fileName)
{
    for (const QString& folder :
         {places.currentFolder, places.programFolder, dataFolderFor(places)}) {
        if (!folder.isEmpty() && QFileInfo(QDir(folder).filePath(fileName)).isFile())
            return folder;
    }
    return {};
}

QString settingsFile(const Places& places, const QString& fileName)
{
    const QString beside = QDir(places.programFolder).filePath(fileName);
    const bool installed = QFileInfo(dataBesideBin(places.programFolder)).isDir();
    if (QFileInfo(beside).isFile() ? QFileInfo(beside).isWritable()
                                   : !installed && QFileInfo(places.programFolder).isWritable())
        return beside;
    QDir().mkpath(places.configFolder);
    return QDir(places.configFolder).filePath(fileName);
}

QString besideSettings(const QString& settingsFile, const QString& fileName)
{
    if (fileName.isEmpty() || QFileInfo(fileName).isAbsolute())
        return fileName;
    return QFileInfo(settingsFile).dir().filePath(fileName);
}

} // namespace ProgramFiles
