#include "core/settings_file.h"
#include "core/settings_keys.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QFile>
#include <QLockFile>
#include <climits>
#include <gtest/gtest.h>

using namespace MyutyFiles;

namespace {

class SettingsFile : public ::testing::Test
{
protected:
    QString write(const QByteArray& bytes) { return folder.writeFile("Skelvo.INI", bytes); }
    QByteArray contents() const { return folder.readFile("Skelvo.INI"); }
    QString path() const { return folder.filePath("Skelvo.INI"); }

    QStringList readList(const QString& name) const
    {
        QStringList list{"stale"};
        const int count = ReadHistoryList(path(), "Assist", name, list);
        EXPECT_EQ(count, list.size());
        return list;
    }

    testsupport::TempFolder folder;
};

} // namespace

TEST_F(SettingsFile, MissingFileSectionOrKeyGivesTheDefaults)
{
    for (const QByteArray& file : {QByteArray(), QByteArray("[Other]\nWidth=1\n"),
                                   QByteArray("[Windows]\nTop=1\n[Preference]\nHome=x\n")}) {
        if (!file.isEmpty())
            write(file);
        EXPECT_EQ(Settings::read(path(), Settings::WindowsWidth), 800);
        EXPECT_EQ(Settings::read(path(), Settings::AutoOffsetTime), "00:05");
        EXPECT_FALSE(Settings::read(path(), Settings::AutoBlockTime));
        EXPECT_TRUE(IniReadBool(path(), "Preference", "UseIME", true));
        EXPECT_EQ(readList("crew"), QStringList());
    }
}

TEST_F(SettingsFile, ReadsIntegersAsDecimalOrHexadecimal)
{
    const auto widthRead = [&](const char* text) {
        write(QByteArray("[Windows]\nWidth=") + text + "\n");
        return Settings::read(path(), Settings::WindowsWidth);
    };
    const std::pair<const char*, int> numbers[] = {
        {"1024", 1024},         {"+7", 7},    {"-5", -5},         {" 42\t", 42},
        {"0x320", 800},         {"0X1f", 31}, {"0xFFFFFFFF", -1}, {"-2147483648", INT_MIN},
        {"0x7fffffff", INT_MAX}};
    for (const auto& [text, expected] : numbers)
        EXPECT_EQ(widthRead(text), expected) << text;
    for (const char* text :
         {"abc", "", "12abc", "1.5", "+", "0x", "0xg", "-0x1", "0x123456789", "2147483648", "１２"})
        EXPECT_EQ(widthRead(text), 800) << "the default for " << text;
    // Booleans read as integers: anything but 0 is true.
    write("[Preference]\nAutoBlockTime=2\nUseIME=0\nOldPattern=abc\n");
    EXPECT_TRUE(Settings::read(path(), Settings::AutoBlockTime));
    EXPECT_FALSE(IniReadBool(path(), "Preference", "UseIME", true));
    EXPECT_TRUE(IniReadBool(path(), "Preference", "OldPattern", true));
}

TEST_F(SettingsFile, WritesEachValueAtOnce)
{
    write("[windows]\r\nWIDTH=1024\r\n");
    EXPECT_EQ(Settings::write(path(), Settings::WindowsWidth, -1280), 0);
    EXPECT_EQ(Settings::write(path(), Settings::AutoBlockTime, true), 0);
    EXPECT_EQ(Settings::write(path(), Settings::UseIME, false), 0);
    EXPECT_EQ(Settings::write(path(), Settings::Home, "調布飛行場"), 0);
    EXPECT_EQ(contents(), "[windows]\r\nWIDTH=-1280\r\n"
                          "[Preference]\r\nAutoBlockTime=1\r\nUseIME=0\r\nHome=調布飛行場\r\n");
    EXPECT_EQ(Settings::read(path(), Settings::Home), "調布飛行場");
    EXPECT_FALSE(QFile::exists(path() + ".lock"));
}

TEST_F(SettingsFile, ReadsAtMost2047CharactersOfAText)
{
    const QString a2045(2045, u'a'), pair = QString::fromUtf16(u"\U0001F600");
    const QString cases[][2] = {{QString(3000, u'あ'), QString(2047, u'あ')},
                                {a2045 + "b" + pair, a2045 + "b"}, // never half a character
                                {a2045 + pair + "b", a2045 + pair}};
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(IniWriteString(path(), "S", "k", stored), 0);
        EXPECT_EQ(IniReadString(path(), "S", "k", "default"), expected);
    }
}

TEST_F(SettingsFile, AFailedWriteReportsMinusOneAndChangesNothing)
{
    const QByteArray before = "[Windows]\nWidth=800\n";
    write(before);
    EXPECT_EQ(IniWriteString(path(), "Windows", "Width", "two\nlines"), -1);
    EXPECT_EQ(WriteHistoryList(path(), "Assist", "crew", {"ok", "bad\r"}), -1);
    {
        QLockFile otherInstance(path() + ".lock");
        ASSERT_TRUE(otherInstance.lock());
        EXPECT_EQ(IniWriteInteger(path(), "Windows", "Width", 1024), -1);
    }
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_EQ(IniWriteBool(path(), "Windows", "Width", true), -1);
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(IniWriteBool(folder.filePath("missing/Skelvo.INI"), "S", "k", true), -1);
}

TEST_F(SettingsFile, AShorterListLeavesNoOldEntries)
{
    write("[Assist]\ncrew0=a\ncrew1=b\ncrew2=c\ncrew3=d\ncrew4=e\nintention0=訓練\n"
          "[Other]\ncrew5=x\n");
    const QStringList crew{"加藤　太郎", " padded ", "'q'"};
    EXPECT_EQ(WriteHistoryList(path(), "Assist", "crew", crew), 3);
    EXPECT_EQ(contents(), "[Assist]\nintention0=訓練\ncrew0=加藤　太郎\ncrew1=\" padded \"\n"
                          "crew2=\"'q'\"\n[Other]\ncrew5=x\n");
    EXPECT_EQ(readList("crew"), crew);
    EXPECT_EQ(readList("intention"), QStringList{"訓練"});
}

TEST_F(SettingsFile, HandEditedListsReadInFileOrderAndAreClearedWhole)
{
    write("[Assist]\ncrew1=second\ncrewX=no\ncrew=no\ncrew0=first\ncrew1x=odd\n"
          "crew+=sign\nCREW2=no\ncrew12=beyond\ndepart0=調布\n");
    EXPECT_EQ(readList("crew"), QStringList({"second", "first", "odd", "sign", "beyond"}));
    EXPECT_EQ(WriteHistoryList(path(), "Assist", "crew", {"new"}), 1);
    EXPECT_EQ(contents(), "[Assist]\ncrewX=no\ncrew=no\ndepart0=調布\ncrew0=new\n");
}
