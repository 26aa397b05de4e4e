// Where the program finds its command files and keeps its settings file,
// built and run in place, and installed (also under a staging root).
#include "core/program_files.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using ProgramFiles::Places;

class ProgramFilesTest : public ::testing::Test
{
protected:
    QString folder(const QString& name) const
    {
        QDir().mkpath(root_.filePath(name));
        return root_.filePath(name);
    }
    Places inPlace() { return {folder("build/app"), folder("home"), root_.filePath("config"), {}}; }
    Places installed()
    {
        folder("stage/usr/share/skelvo");
        return {folder("stage/usr/bin"), folder("home"), root_.filePath("config"), "/nowhere"};
    }

    testsupport::TempFolder root_;
};

TEST_F(ProgramFilesTest, CommandFilesAreFoundInTheCurrentFolderThenBesideTheProgramThenItsData)
{
    const Places places = installed();
    const QString file = QStringLiteral("CreateTable.PRDX");
    EXPECT_EQ(ProgramFiles::commandFolder(places, file), QString());
    root_.writeFile("stage/usr/share/skelvo/" + file, "data");
    EXPECT_EQ(ProgramFiles::commandFolder(places, file), root_.filePath("stage/usr/share/skelvo"));
    root_.writeFile("stage/usr/bin/" + file, "beside");
    EXPECT_EQ(ProgramFiles::commandFolder(places, file), places.programFolder);
    root_.writeFile("home/" + file, "current");
    EXPECT_EQ(ProgramFiles::commandFolder(places, file), places.currentFolder);
}

TEST_F(ProgramFilesTest, SettingsStayBesideABuiltProgramAndGoToTheUsersFolderOnceInstalled)
{
    const QString name = QStringLiteral("skelvo.INI");
    EXPECT_EQ(ProgramFiles::settingsFile(inPlace(), name), root_.filePath("build/app/" + name));
    const Places places = installed();
    EXPECT_EQ(ProgramFiles::settingsFile(places, name), root_.filePath("config/" + name));
    EXPECT_TRUE(QDir(root_.filePath("config")).exists());
    // An older setup that kept its settings beside the program keeps them there.
    root_.writeFile("stage/usr/bin/" + name, "[Database]\n");
    EXPECT_EQ(ProgramFiles::settingsFile(places, name), root_.filePath("stage/usr/bin/" + name));
}

TEST_F(ProgramFilesTest, ALayoutFileNamedWithoutAFolderLiesBesideTheSettings)
{
    const QString settings = root_.filePath("config/skelvo.INI");
    EXPECT_EQ(ProgramFiles::besideSettings(settings, "Default.CDF"),
              root_.filePath("config/Default.CDF"));
    EXPECT_EQ(ProgramFiles::besideSettings(settings, "/srv/club.CDF"), "/srv/club.CDF");
    EXPECT_EQ(ProgramFiles::besideSettings(settings, ""), "");
}

} // namespace
