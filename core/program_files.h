#pragma once

#include <QString>

// Where the program finds the files it reads and keeps: the command files
// that create tables, and the settings file with the history lists beside
// it. A program built and run in its own folder keeps everything there, as
// older setups expect; an installed one reads its data folder and keeps the
// user's settings in the user's configuration folder.
namespace ProgramFiles {

struct Places
{
    QString programFolder; // the executable's folder
    QString currentFolder;
    QString configFolder;        // the user's configuration folder for the program
    QString installedDataFolder; // where an installation puts the command files
};

// The places of the running program.
Places ofThisProgram();

// The data folder of an installed program: share/skelvo beside the bin
// folder it runs from (also under a staging root), else the folder the build
// was configured to install into.
QString dataFolderFor(const Places& places);

// The folder that holds the command file: the current folder first (as the
// stored settings and older setups expect), then beside the program, then
// the data folder. Empty when none has it.
QString commandFolder(const Places& places, const QString& fileName);

// The settings file: beside the program when one is there already, or when
// the program is not an installed one and may write there; otherwise in the
// user's configuration folder.
QString settingsFile(const Places& places, const QString& fileName);

// A layout file named without a folder lies beside the settings file.
QString besideSettings(const QString& settingsFile, const QString& fileName);

} // namespace ProgramFiles
