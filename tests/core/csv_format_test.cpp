// The CSV format: writing and splitting values, line ends and encodings.
#include "core/csv_format.h"
#include "core/error.h"
#include "tests/testsupport/qt_printers.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase
{
    const char* line; // UTF-8
    QStringList values;
};

class CsvSplitTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(CsvSplitTest, SplitsALineIntoItsValues)
{
    EXPECT_EQ(CsvFormat::splitLine(QString::fromUtf8(GetParam().line)), GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CsvSplitTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"a,b,c", {"a", "b", "c"}},
                      SplitCase{"a,,c", {"a", "", "c"}}, SplitCase{"a,", {"a", ""}},
                      SplitCase{",", {"", ""}}, SplitCase{"  a , b ", {"a", "b"}},
                      SplitCase{"a b,c", {"a", "b", "c"}}, // a blank ends an unquoted value
                      SplitCase{"\"a, b\",c", {"a, b", "c"}},
                      SplitCase{"\"say \"\"hi\"\"\"", {"say \"hi\""}},
                      SplitCase{"\"open, to the end", {"open, to the end"}},
                      SplitCase{"\"ab\"cd,e", {"ab", "cd", "e"}}, SplitCase{"\"\",x", {"", "x"}},
                      SplitCase{"\ta,\tb", {"a", "b"}},
                      SplitCase{"山田　太郎,大利根", {"山田　太郎", "大利根"}}));

TEST(CsvFormat, WritingQuotesOnlyWhatMustBeQuoted)
{
    const struct
    {
        const char* value;
        const char* written;
    } cases[] = {
        {"", ""},
        {"abc", "abc"},
        {"a, b", "\"a, b\""},
        {"a b", "\"a b\""},
        {"it\"s", "\"it\"\"s\""},
        {"tab\there", "\"tab\there\""},
        {"山田　太郎", "山田　太郎"}, // the ideographic space is no blank
        {"it's", "it's"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvFormat::formatValue(QString::fromUtf8(c.value)), QString::fromUtf8(c.written))
            << c.value;
}

TEST(CsvFormat, WrittenValuesSplitBackUnchanged)
{
    const QStringList values = {"",     "a, b", "it\"s",  " lead", "trail ", "\"",
                                "x\ty", "it's", "大利根", "〜¥",   "back\\", ","};
    EXPECT_EQ(CsvFormat::splitLine(CsvFormat::formatLine(values)), values);
}

TEST(CsvFormat, LinesEndWithCrLfLfOrCrAndDecodeByTheirMark)
{
    const QStringList lines = {"callsign,yyyy", "", "JA2401,2026"};
    const QByteArray cp932 = "callsign,yyyy\r\n\nJA2401,2026\r";
    EXPECT_EQ(CsvFormat::readLines(cp932), lines);
    EXPECT_EQ(CsvFormat::readLines("a\rb"), (QStringList{"a", "b"}));

    const QString japanese = QStringLiteral("山田,大利根");
    EXPECT_EQ(CsvFormat::readLines(CsvFormat::fileBytes({japanese})), QStringList{japanese});
    EXPECT_EQ(CsvFormat::readLines("\xEF\xBB\xBF" + japanese.toUtf8()), QStringList{japanese});
    QByteArray utf16le("\xFF\xFE", 2);
    utf16le.append(reinterpret_cast<const char*>(japanese.utf16()), japanese.size() * 2);
    EXPECT_EQ(CsvFormat::readLines(utf16le), QStringList{japanese});
    QByteArray utf16be("\xFE\xFF", 2);
    for (QChar c : japanese)
        utf16be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    EXPECT_EQ(CsvFormat::readLines(utf16be), QStringList{japanese});
}

TEST(CsvFormat, FilesAreCp932UnlessACharacterWouldBeLost)
{
    EXPECT_EQ(CsvFormat::fileBytes({"a,b", "山"}), QByteArray("a,b\r\n\x8E\x52\r\n"));
    // U+00E9 has no CP932 form: the whole file goes as UTF-8 with its mark.
    const QStringList lines = {"a", QStringLiteral("caf\u00e9 山")};
    const QByteArray bytes = CsvFormat::fileBytes(lines);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(CsvFormat::readLines(bytes), lines);
    // CP932 holds these only as look-alikes (¥ as \, 〜 as ～): lost as well.
    for (const QString& lookAlike : QStringLiteral("¢ £ ¥ ¬ — ‖ ‾ − 〜").split(u' ')) {
        const QStringList line{QStringLiteral("山 ") + lookAlike};
        EXPECT_EQ(CsvFormat::readLines(CsvFormat::fileBytes(line)), line)
            << lookAlike.toStdString();
    }
}

TEST(CsvFormat, UndecodableBytesNameTheirLine)
{
    try {
        CsvFormat::readLines("ok\r\nfine\r\nbad\x82\xFF\r\n");
        FAIL() << "no error";
    } catch (const SkelvoError& error) {
        EXPECT_TRUE(error.message().startsWith("3 行目")) << error.message().toStdString();
    }
}

TEST(CsvFormat, BrokenUnicodeIsAnErrorNotBrokenText)
{
    // Found by fuzzing: a UTF-32 mark, then values beyond Unicode, which
    // once came out as lone surrogates that no file could hold again.
    const QByteArray bytes("\xFF\xFE\x00\x00\x02\x00\x00\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02\"\x00\"a "
                           "\"\x00\x00\x00\x00\x00\x00\n",
                           28);
    EXPECT_THROW(CsvFormat::readLines(bytes), SkelvoError);
}

} // namespace
