#include "db/table_management.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <gtest/gtest.h>

using TableManagement::prepareCommand;

TEST(CommandFile, PreparesOneStatement)
{
    const struct
    {
        QString file;
        QString statement;
    } cases[] = {
        {"CREATE TABLE %%\n(a\tINT)\n", "CREATE TABLE ab12\r\n(a INT)\r\n"},
        // Comments only in the first column; the name is put in first, so a
        // comment naming the table goes with its line.
        {"-- table %%\r\nCREATE TABLE %%\r\n  -- kept\r\n(x INT) -- kept too\r\n",
         "CREATE TABLE ab12\r\n  -- kept\r\n(x INT) -- kept too\r\n"},
        {"\t--x\n", " --x\r\n"},            // a tab before "--" becomes a blank: kept
        {"a%%b\r\rc\r", "aab12b\r\nc\r\n"}, // lone CR ends lines; empty lines go
        {"   \n", "   \r\n"},               // a line of blanks is kept
        {"-- only\n--comments\n", ""},      // nothing left: an empty statement
        {"x %%%", "x ab12%\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        EXPECT_EQ(prepareCommand(c.file, "ab12"), c.statement);
    }
}

TEST(CommandFile, ShippedFilesCreateOneStatementEach)
{
    for (const char* name : {"CreateTable.MYSQL", "CreateTable.MSSQL", "CreateTable.PRDX"}) {
        SCOPED_TRACE(name);
        const QString text =
            TableManagement::readCommandFile(QStringLiteral(SKELVO_SOURCE_DIR "/commands/") + name);
        const QString statement = prepareCommand(text, "JA2345");
        EXPECT_TRUE(statement.startsWith("CREATE TABLE ")) << statement.toStdString();
        EXPECT_TRUE(statement.contains("JA2345"));
        EXPECT_FALSE(statement.contains("%%"));
        EXPECT_FALSE(statement.contains("\r\n--"));
    }
}

TEST(CommandFile, MissingFileIsAnError)
{
    testsupport::TempFolder folder;
    EXPECT_ANY_THROW(TableManagement::readCommandFile(folder.filePath("CreateTable.MYSQL")));
}
