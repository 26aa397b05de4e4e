#include "core/error.h"
#include "tests/paradox/paradox_test_support.h"
#include "tests/testsupport/qt_printers.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using namespace paradox;
using paradoxtest::samplesFolder;

const char* const Samples[] = {"AREACODE.DB", "CONTACTS.DB", "CUSTOMER.DB", "ORDERS.DB",  "bcd.db",
                               "date35.db",   "date4.db",    "date7.db",    "logical.db", "long.db",
                               "memo.db",     "time.db",     "timestamp.db"};

class SampleTable : public testing::TestWithParam<const char*>
{
};

TEST_P(SampleTable, ReadsAsPxlibReadsIt)
{
    paradoxtest::expectPxlibReadsTheSame(
        QDir(samplesFolder()).filePath(QString::fromLatin1(GetParam())));
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleTable, testing::ValuesIn(Samples));

TEST(SampleTables, EverySampleIsRead)
{
    const QStringList tables =
        QDir(samplesFolder()).entryList({QStringLiteral("*.db")}, QDir::Files);
    QStringList listed;
    for (const char* sample : Samples)
        listed.append(QString::fromLatin1(sample));
    EXPECT_EQ(tables.size(), listed.size());
    for (const QString& table : tables)
        EXPECT_TRUE(listed.contains(table)) << table.toStdString();
}

TEST(SampleTables, HeadersTellVersionKeyCodePageAndCounter)
{
    struct Expected
    {
        const char* file;
        int version;
        bool keyed;
        int codePage;
    };
    const Expected expected[] = {
        {"AREACODE.DB", 40, true, 437},  {"CONTACTS.DB", 70, false, 437},
        {"CUSTOMER.DB", 70, true, 1252}, {"ORDERS.DB", 70, true, 437},
        {"bcd.db", 50, false, 850},      {"date35.db", 35, false, 437},
        {"date4.db", 40, false, 850},    {"logical.db", 50, false, 1252},
        {"long.db", 50, true, 850},      {"memo.db", 50, true, 850},
    };
    for (const Expected& table : expected) {
        SCOPED_TRACE(table.file);
        const TableInfo info =
            Table::open(QDir(samplesFolder()).filePath(QString::fromLatin1(table.file))).info();
        EXPECT_EQ(info.formatVersion, table.version);
        EXPECT_EQ(info.keyed, table.keyed);
        EXPECT_EQ(info.codePage, table.codePage);
        EXPECT_FALSE(info.encrypted);
    }
    // The counter holds the last number given out.
    EXPECT_EQ(Table::open(QDir(samplesFolder()).filePath("CUSTOMER.DB")).info().nextAutoIncrement,
              45);
    EXPECT_EQ(Table::open(QDir(samplesFolder()).filePath("long.db")).info().nextAutoIncrement, 4);
}

// Paradox 3.0 tables are laid out as 3.5 ones; only the version byte differs.
TEST(SampleTables, VersionThreeTableReadsLikeThreeAndAHalf)
{
    testsupport::TempFolder folder;
    const QString path = paradoxtest::copySample(folder, QStringLiteral("date35.db"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(0x39);
    file.write("\x03", 1);
    file.close();
    const Table table = Table::open(path);
    EXPECT_EQ(table.info().formatVersion, 30);
    EXPECT_EQ(
        paradoxtest::valuesOf(table.readAll()),
        paradoxtest::valuesOf(Table::open(QDir(samplesFolder()).filePath("date35.db")).readAll()));
}

TEST(SampleTables, EmptyValuesAreNull)
{
    const QList<Record> longs = Table::open(QDir(samplesFolder()).filePath("long.db")).readAll();
    ASSERT_EQ(longs.size(), 3);
    EXPECT_EQ(longs[2].values, (Row{3, QVariant()}));
    const QList<Record> dates = Table::open(QDir(samplesFolder()).filePath("date7.db")).readAll();
    ASSERT_EQ(dates.size(), 5);
    EXPECT_EQ(dates[3].values, (Row{QVariant(), QTime(10, 0)}));
    EXPECT_EQ(dates[4].values, (Row{QDate(2018, 1, 1), QVariant()}));
}

TEST(SampleTables, BcdDigitsAreExact)
{
    const QList<Record> records = Table::open(QDir(samplesFolder()).filePath("bcd.db")).readAll();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].values[0], QStringLiteral("1.23"));
    EXPECT_EQ(records[1].values[0], QStringLiteral("-1.23"));
    EXPECT_EQ(records[1].values[1], QStringLiteral("-1"));
    EXPECT_EQ(records[2].values[0], QStringLiteral("0.00"));
    // 32 decimals, of which the writer filled the leading ones.
    EXPECT_EQ(records[0].values[2], QStringLiteral("0.1229999999999999980"));
}

// Memo text lives in the record's leader when it fits, else in the .MB file:
// in a sub-allocated block when short, in a block of its own when long.
TEST(SampleMemos, MemoDbHoldsNumberedLines)
{
    const QList<Record> records = Table::open(QDir(samplesFolder()).filePath("memo.db")).readAll();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].values[1],
              QString(QStringLiteral("01234567890").repeated(10) + u'\n').repeated(5));
    EXPECT_EQ(records[1].values[1], QStringLiteral("01234567890\n"));
}

TEST(SampleMemos, CustomerCommentsOfEverySize)
{
    const QList<Record> records =
        Table::open(QDir(samplesFolder()).filePath("CUSTOMER.DB")).readAll();
    ASSERT_EQ(records.size(), 20);
    const int comments = 8;
    EXPECT_EQ(records[0].values[comments], QStringLiteral("Small comment (less 100 symbols)"));
    EXPECT_EQ(records[1].values[comments].toString().size(), 518);
    EXPECT_EQ(records[2].values[comments].toString().size(), 318);
    const QString document = records[3].values[comments].toString();
    EXPECT_EQ(document.size(), 56864);
    EXPECT_TRUE(document.startsWith(QStringLiteral(" The PARADOX File Structure")));
    EXPECT_TRUE(document.endsWith(QStringLiteral("  Stream.Done;\r\nEnd.\r\n")));
    EXPECT_TRUE(records[4].values[comments].toString().endsWith(
        QStringLiteral("stream.close();\r\n  }\r\n}\r\n")));
    for (qsizetype r = 5; r < records.size(); ++r)
        EXPECT_FALSE(records[r].values[comments].isValid());
}

// The leader keeps a copy of the memo's start: what the .MB file gives must
// begin with exactly those bytes.
TEST(SampleMemos, MemoFileTextBeginsWithTheLeader)
{
    QFile file(QDir(samplesFolder()).filePath("CUSTOMER.DB"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const Table table = Table::open(file.fileName());
    int commentsAt = 0;
    for (int i = 0; i < 8; ++i)
        commentsAt += table.fields()[i].size;
    const int leader = table.fields()[8].size - 10;
    for (const Record& record : table.readAll()) {
        const QString text = record.values[8].toString();
        if (text.size() <= leader)
            continue;
        const QByteArray copy = bytes.mid(record.position + commentsAt, leader);
        EXPECT_EQ(text.left(leader).toLatin1(), copy) << "record at " << record.position;
    }
}

} // namespace
