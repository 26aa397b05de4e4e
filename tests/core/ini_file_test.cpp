#include "core/ini_file.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

IniDocument parsed(const char* text)
{
    return IniDocument::fromBytes(QByteArray(text));
}

std::string bytesOf(const IniDocument& document)
{
    return document.toBytes().toStdString();
}

} // namespace

// Names match in any case; the first section and the first key win.
TEST(IniDocument, ReadsHandEditedFiles)
{
    const IniDocument document = parsed("\xEF\xBB\xBFStray=1\n[Windows]\nWidth=1024\n; Top=1\n"
                                        "  Height \t=\t 768  \r\nWidth=9\nneither\n"
                                        " [ Pref ] x\nHome = 'x'\nHalf=\"x\nJa=\u3000東京\u3000\n"
                                        "[windows]\nLeft=5\n[Last]\nNoEnd=a=b");
    const struct
    {
        const char* section;
        const char* key;
        std::optional<QString> value;
    } cases[] = {
        {"WINDOWS", "width", "1024"},      {"Windows", "Height", "768"},
        {"Windows", "Left", std::nullopt}, {"Windows", "; Top", std::nullopt},
        {"", "Stray", std::nullopt},       {"Pref", "Home", "x"},
        {"Pref", "Half", "\"x"},           {"Pref", "Ja", "\u3000東京\u3000"},
        {"Last", "NoEnd", "a=b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(document.value(QString::fromUtf8(c.section), QString::fromUtf8(c.key)), c.value);
    }
}

TEST(IniDocument, EditsOnlyTheKeysLine)
{
    IniDocument document = parsed("\xEF\xBB\xBF; note\r\n[Windows]\r\n  width  =  800\r\n"
                                  "Height=600\njunk\r\n\r\n[Pref]\r\nHome=x\r\nHOME=y\r\nk=z");
    ASSERT_TRUE(document.setValue(u"WINDOWS", u"Width", "1024"));
    document.removeKey(u"pref", u"home"); // duplicates too, so none resurfaces
    EXPECT_EQ(bytesOf(document), "\xEF\xBB\xBF; note\r\n[Windows]\r\n  width  =  1024\r\n"
                                 "Height=600\njunk\r\n\r\n[Pref]\r\nk=z");
}

TEST(IniDocument, PlacesNewKeysAndSections)
{
    const struct
    {
        const char* before;
        const char* section;
        const char* after;
    } cases[] = {
        {"", "S", "[S]\nk=v\n"},
        {"[S]\na=1\n; c\n\n[T]\nb=2\n", "S", "[S]\na=1\nk=v\n; c\n\n[T]\nb=2\n"},
        {"[S]\n\n[T]\n", "S", "[S]\nk=v\n\n[T]\n"},
        {"[S]", "S", "[S]\nk=v\n"},
        {"[S]\na=1", "T", "[S]\na=1\n[T]\nk=v\n"},
        {"[S]\r\na=1\n", "S", "[S]\r\na=1\nk=v\r\n"},    // the first line sets the style
        {"[S]\na=1\r", "T", "[S]\na=1\r\r\n[T]\nk=v\n"}, // a last line's CR stays its text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        IniDocument document = parsed(c.before);
        ASSERT_TRUE(document.setValue(QString::fromUtf8(c.section), u"k", "v"));
        EXPECT_EQ(bytesOf(document), c.after);
    }
}

TEST(IniDocument, ValuesReadBackExactlyOrAreRefused)
{
    const QString stored[] = {"",
                              " lead",
                              "trail\t",
                              "\"q\"",
                              "'s'",
                              "\"",
                              "\"\"",
                              "'m\"",
                              "a=b;c",
                              "[x]",
                              "加藤　太郎",
                              QString::fromUtf16(u"\u0080\uFFFF"),
                              QString::fromUtf16(u"\U0001F600"),
                              "\v\f"};
    for (const QString& value : stored) {
        SCOPED_TRACE(value.toStdString());
        IniDocument document = parsed("[S]\nk=old\n");
        ASSERT_TRUE(document.setValue(u"S", u"k", value) && document.setValue(u"T", u"k", value));
        const IniDocument reread = IniDocument::fromBytes(document.toBytes());
        EXPECT_EQ(reread.value(u"S", u"k"), value);
        EXPECT_EQ(reread.value(u"T", u"k"), value);
    }
    const QString refused[][3] = {
        {"S", "k", "a\nb"},
        {"S", "k", "a\rb"},
        {"S", "k", QString(QChar(u'\0'))},
        {"S", "k", QString(QChar(0xD800))}, // a lone surrogate has no UTF-8 form
        {"S", "a=b", "v"},
        {"S", "[k", "v"},
        {"S", ";k", "v"},
        {"S", " k", "v"},
        {"S]", "k", "v"},
        {"S\n", "k", "v"},
    };
    for (const auto& [section, key, value] : refused) {
        SCOPED_TRACE((section + "/" + key + "=" + value).toStdString());
        IniDocument document = parsed("[S]\nk=old\n");
        EXPECT_FALSE(document.setValue(section, key, value));
        EXPECT_EQ(bytesOf(document), "[S]\nk=old\n");
    }
}

TEST(IniFile, KeepsPermissionsAndLeavesReadOnlyFilesAlone)
{
    const testsupport::TempFolder folder;
    const QString path = folder.writeFile("a.ini", "k=1\n");
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
    QFile::setPermissions(path, ownerOnly);
    ASSERT_TRUE(writeIniFile(path, parsed("k=2\n")));
    EXPECT_EQ(folder.readFile("a.ini"), "k=2\n");
    EXPECT_EQ(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), ownerOnly);

    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    EXPECT_FALSE(writeIniFile(path, parsed("k=3\n")));
    EXPECT_EQ(folder.readFile("a.ini"), "k=2\n");
    EXPECT_FALSE(writeIniFile(folder.filePath("no/folder.ini"), parsed("k=3\n")));
}
