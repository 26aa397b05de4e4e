#include "core/error.h"
#include "paradox/paradox_sql.h"
#include "tests/paradox/paradox_test_support.h"
#include "tests/paradox/pxlib_reader.h"
#include "tests/testsupport/qt_printers.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <iostream>

namespace {

using namespace paradox;
using paradoxtest::valuesOf;

// Every type the codec writes, with Japanese names as a log table has them.
const QList<Field> AllTypes = {
    {QStringLiteral("id"), FieldType::AutoIncrement, 4},
    {QStringLiteral("機体"), FieldType::Alpha, 12},
    {QStringLiteral("回数"), FieldType::Short, 2},
    {QStringLiteral("分"), FieldType::Long, 4},
    {QStringLiteral("済"), FieldType::Logical, 1},
    {QStringLiteral("重量"), FieldType::Number, 8},
    {QStringLiteral("料金"), FieldType::Currency, 8},
    {QStringLiteral("日付"), FieldType::Date, 4},
    {QStringLiteral("離陸"), FieldType::Time, 4},
    {QStringLiteral("記録"), FieldType::Timestamp, 8},
};

Row someRow(int n)
{
    return {QVariant(),
            QStringLiteral("JA%1機").arg(n),
            n % 300 - 150,
            n * 1000 - 7,
            n % 2 == 0,
            n / 8.0,
            -n * 0.25,
            QDate(2010, 7, 3).addDays(n),
            QTime(6, 30).addSecs(n * 60),
            QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 250)).addSecs(n)};
}

QList<QPair<RecordPosition, Row>> placesAndValues(const QList<Record>& records)
{
    QList<QPair<RecordPosition, Row>> list;
    for (const Record& record : records)
        list.append({record.position, record.values});
    return list;
}

class TableWriting : public testing::Test
{
protected:
    Table create(const QList<Field>& fields = AllTypes, int codePage = 932)
    {
        return Table::create(path(), fields, codePage);
    }

    QString path(const QString& name = QStringLiteral("JA2345.DB")) const
    {
        return folder_.filePath(name);
    }

    void expectPxlibAgrees(const Table& table)
    {
        paradoxtest::expectPxlibReadsTheSame(table.path());
    }

    testsupport::TempFolder folder_;
};

TEST_F(TableWriting, NewTableHoldsEveryWrittenTypeAsPxlibReadsIt)
{
    Table table = create();
    EXPECT_EQ(table.info().formatVersion, 70);
    EXPECT_EQ(table.info().codePage, 932);
    EXPECT_FALSE(table.info().keyed);
    EXPECT_EQ(table.info().nextAutoIncrement, 1);
    expectPxlibAgrees(table);

    QList<Row> written;
    for (int n = 1; n <= 5; ++n) {
        Row row = someRow(n);
        table.append(row);
        written.append(row);
    }
    Row empty(AllTypes.size());
    table.append(empty); // every value null, but the number it is given
    written.append(empty);
    Row extremes = {QVariant(),
                    QStringLiteral("ｶﾅ漢字ABC"),
                    -32767,
                    2147483647,
                    false,
                    -1e300,
                    0.0,
                    QDate(1, 1, 1),
                    QTime(23, 59, 59, 999),
                    QDateTime(QDate(9999, 12, 31), QTime(0, 0))};
    table.append(extremes);
    written.append(extremes);

    EXPECT_EQ(valuesOf(Table::open(path()).readAll()), written);
    expectPxlibAgrees(Table::open(path()));
    EXPECT_EQ(readWithPxlib(path()).codePage, 932);
}

TEST_F(TableWriting, AutoIncrementAdvancesAndIsWrittenBackIntoTheRow)
{
    Table table = create();
    for (int expected = 1; expected <= 3; ++expected) {
        Row row = someRow(expected);
        row[0] = 77; // the table's counter decides, not the caller
        table.append(row);
        EXPECT_EQ(row[0], expected);
    }
    EXPECT_EQ(table.info().nextAutoIncrement, 4);
    EXPECT_EQ(Table::open(path()).info().nextAutoIncrement, 4);
    const QList<Record> records = Table::open(path()).readAll();
    EXPECT_EQ(records[2].values[0], 3);

    Row row = records[1].values;
    row[0] = 9;
    EXPECT_THROW(table.update(records[1].position, row), SkelvoError);
    row[0] = QVariant();
    row[2] = 42;
    table.update(records[1].position, row); // a null number keeps the record's own
    EXPECT_EQ(Table::open(path()).readAll()[1].values[0], 2);
}

// A text fills its field to the last byte of the code page and no further:
// a longer one is refused, naming the field and its width, never cut.
TEST_F(TableWriting, TextFillsItsFieldAndNoMore)
{
    Table table = create({{QStringLiteral("name"), FieldType::Alpha, 5}});
    const QList<Row> fitting = {{QStringLiteral("日本")},
                                {QStringLiteral("a日本")},
                                {QStringLiteral("abcde")},
                                {QStringLiteral("ｱｲｳｴｵ")}};
    for (Row row : fitting)
        table.append(row);
    for (const QString& text :
         {QStringLiteral("日本語"), QStringLiteral("abcdef"), QStringLiteral("ｱｲｳｴｵｶ")}) {
        Row row{text};
        try {
            table.append(row);
            ADD_FAILURE() << text.toStdString() << " was taken";
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains("name") &&
                        error.message().contains("5 バイトまで"))
                << error.message().toStdString();
        }
    }
    EXPECT_EQ(valuesOf(table.readAll()), fitting);
    expectPxlibAgrees(table);
}

TEST_F(TableWriting, ValuesAreConvertedToTheFieldsTypes)
{
    Table table = create();
    Row row = {QVariant(),
               42,
               QStringLiteral(" 7 "),
               QStringLiteral("5"),
               QStringLiteral("true"),
               QStringLiteral("1.5"),
               QStringLiteral("-2"),
               QStringLiteral("2010-07-03"),
               QStringLiteral("6:05"),
               QStringLiteral("2010-07-03 06:05:00")};
    table.append(row);
    Row blanks = {QVariant(), QString(), QStringLiteral(""), QStringLiteral(" "),
                  QString(),  QString(), QStringLiteral(""), QString(),
                  QString(),  QString()};
    table.append(blanks);
    const QList<Record> records = table.readAll();
    const Row expected = {1,           QStringLiteral("42"),
                          7,           5,
                          true,        1.5,
                          -2.0,        QDate(2010, 7, 3),
                          QTime(6, 5), QDateTime(QDate(2010, 7, 3), QTime(6, 5))};
    EXPECT_EQ(records[0].values, expected);
    EXPECT_EQ(records[1].values, (Row{2, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                                      QVariant(), QVariant(), QVariant(), QVariant()}));
}

TEST_F(TableWriting, ValuesThatDoNotFitAreErrorsNamingTheFieldAndChangeNothing)
{
    Table table = create();
    Row first = someRow(1);
    table.append(first);
    struct Case
    {
        int field;
        QVariant value;
        QString named;
    };
    const Case cases[] = {
        {3, QStringLiteral("abc"), QStringLiteral("分")},
        {2, QStringLiteral("5.5"), QStringLiteral("回数")},
        {2, 40000, QStringLiteral("回数")},
        {2, -32768, QStringLiteral("回数")}, // would be stored as the null value
        {5, QStringLiteral("1,5"), QStringLiteral("重量")},
        {4, QStringLiteral("maybe"), QStringLiteral("済")},
        {7, QStringLiteral("2010-13-01"), QStringLiteral("日付")},
        {7, QDateTime(QDate(300'000'000, 1, 1), QTime(0, 0)), QStringLiteral("日付")},
        {8, QStringLiteral("25:00"), QStringLiteral("離陸")},
        {9, QDateTime(QDate(300'000'000, 1, 1), QTime(0, 0)), QStringLiteral("記録")},
        {1, QStringLiteral("絵文字😀"), QStringLiteral("😀")},
    };
    for (const Case& bad : cases) {
        Row row = someRow(2);
        row[bad.field] = bad.value;
        try {
            table.append(row);
            ADD_FAILURE() << "accepted " << bad.value.toString().toStdString();
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains(bad.named)) << error.what();
        }
    }
    EXPECT_EQ(valuesOf(Table::open(path()).readAll()), QList<Row>{first});
    EXPECT_EQ(Table::open(path()).info().nextAutoIncrement, 2);
    Row short_ = first.mid(1); // one value short
    EXPECT_THROW(table.append(short_), SkelvoError);
}

// The header's last number may be the largest the field holds: the table
// opens and reads, and the row that would need the next number is refused
// with nothing written.
TEST_F(TableWriting, AutoIncrementAtItsLargestRefusesTheNextRow)
{
    {
        Table table = create();
        Row row = someRow(1);
        table.append(row);
    }
    const QString name = QFileInfo(path()).fileName();
    QByteArray bytes = folder_.readFile(name);
    bytes.replace(0x49, 4, QByteArray("\xff\xff\xff\x7f", 4));
    folder_.writeFile(name, bytes);

    Table table = Table::open(path());
    EXPECT_EQ(table.info().nextAutoIncrement, 0x80000000LL);
    EXPECT_EQ(table.readAll().size(), 1);
    Row row = someRow(2);
    try {
        table.append(row);
        ADD_FAILURE() << "a row was numbered past the largest number";
    } catch (const SkelvoError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("2147483647"))) << error.what();
        EXPECT_TRUE(error.message().contains(name)) << error.what();
    }
    EXPECT_EQ(folder_.readFile(name), bytes);
}

TEST_F(TableWriting, TenThousandAppendsFillBlocksOneAfterAnother)
{
    Table table = create();
    QElapsedTimer timer;
    timer.start();
    constexpr int Count = 10000;
    RecordPosition previous = 0;
    for (int n = 1; n <= Count; ++n) {
        Row row = someRow(n);
        const RecordPosition position = table.append(row);
        ASSERT_GT(position, previous);
        previous = position;
    }
    std::cout << "10000 appends: " << timer.elapsed() << " ms" << std::endl;

    const QList<Record> records = Table::open(path()).readAll();
    ASSERT_EQ(records.size(), Count);
    for (int n = 1; n <= Count; n += 997) {
        Row expected = someRow(n);
        expected[0] = n;
        EXPECT_EQ(records[n - 1].values, expected);
    }
    // Whole blocks after the header, nothing rewritten elsewhere.
    const TableInfo info = table.info();
    const int perBlock = (info.blockSize - 6) / info.recordSize;
    EXPECT_EQ(QFileInfo(path()).size(),
              2048 + qint64((Count + perBlock - 1) / perBlock) * info.blockSize);
    expectPxlibAgrees(table);
}

TEST_F(TableWriting, LogTablesHoldHalfAMillionRowsInLargeBlocks)
{
    paradox::SqlEngine engine(folder_.path());
    QFile command(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX");
    ASSERT_TRUE(command.open(QIODevice::ReadOnly));
    QString create = QString::fromUtf8(command.readAll());
    create.remove(
        QRegularExpression(QStringLiteral("^--[^\n]*\n"), QRegularExpression::MultilineOption));
    engine.execute(create.replace(QStringLiteral("%%"), QStringLiteral("ab12")));
    for (int ct = 1; ct <= 20; ++ct)
        engine.execute(
            QStringLiteral("INSERT INTO ab12 (ct, sb, crew) VALUES (%1, 0, '山田')").arg(ct));

    const Table log = Table::open(folder_.filePath(QStringLiteral("ab12.DB")));
    const TableInfo info = log.info();
    EXPECT_EQ(info.blockSize, 32 * 1024);
    const int perBlock = (info.blockSize - 6) / info.recordSize;
    EXPECT_GE(qint64(perBlock) * 65535, 500000);
    // Disk per record within 1.3 times its bytes once blocks fill.
    EXPECT_LE(double(info.blockSize) / (perBlock * info.recordSize), 1.3);
    const qint64 size = QFileInfo(log.path()).size(); // the header and two blocks
    EXPECT_GT(size, 2 * qint64(info.blockSize));
    EXPECT_LT(size, 3 * qint64(info.blockSize));
    expectPxlibAgrees(log);
}

TEST_F(TableWriting, UpdateChangesOneRecordInPlace)
{
    Table table = create();
    for (int n = 1; n <= 300; ++n) {
        Row row = someRow(n);
        table.append(row);
    }
    QList<Record> before = table.readAll();
    Row changed = before[150].values;
    changed[1] = QStringLiteral("変更済み");
    changed[3] = QVariant();
    table.update(before[150].position, changed);
    before[150].values = changed;
    EXPECT_EQ(placesAndValues(Table::open(path()).readAll()), placesAndValues(before));
    expectPxlibAgrees(table);

    // Inside a record, the header, a block's head, the free room after the last record.
    const int recordSize = table.info().recordSize;
    for (RecordPosition wrong : {before[150].position + 1, RecordPosition(0),
                                 before.first().position - 6, before.last().position + recordSize})
        EXPECT_THROW(table.update(wrong, changed), SkelvoError) << wrong;
    EXPECT_EQ(placesAndValues(Table::open(path()).readAll()), placesAndValues(before));
}

TEST_F(TableWriting, RemoveRewritesTheTableWithoutTheRecords)
{
    Table table = create();
    for (int n = 1; n <= 250; ++n) {
        Row row = someRow(n);
        table.append(row);
    }
    QList<Record> records = table.readAll();
    QList<RecordPosition> doomed;
    QList<Row> kept;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (i % 3 == 0 || (i > 40 && i < 120))
            doomed.append(records[i].position);
        else
            kept.append(records[i].values);
    }
    table.remove(doomed);
    EXPECT_EQ(valuesOf(Table::open(path()).readAll()), kept);
    EXPECT_EQ(table.info().recordCount, kept.size());
    expectPxlibAgrees(table);

    // The new number after a removal still follows the highest given.
    Row row = someRow(0);
    table.append(row);
    EXPECT_EQ(row[0], 251);

    EXPECT_THROW(table.remove({12345}), SkelvoError);
    QList<RecordPosition> all;
    for (const Record& record : table.readAll())
        all.append(record.position);
    table.remove(all);
    EXPECT_TRUE(Table::open(path()).readAll().isEmpty());
    expectPxlibAgrees(table);
}

TEST_F(TableWriting, MemoTextOfEveryLengthRoundTrips)
{
    const QList<Field> fields = {{QStringLiteral("id"), FieldType::AutoIncrement, 4},
                                 {QStringLiteral("備考"), FieldType::Memo, 10 + 10}};
    Table table = create(fields);
    EXPECT_TRUE(QFileInfo::exists(folder_.filePath(QStringLiteral("JA2345.MB"))));
    const QStringList texts = {
        QStringLiteral("短い"),                           // in the leader
        QStringLiteral("滑空場から離陸、").repeated(20),  // sub-allocated
        QStringLiteral("x").repeated(2048),               // the largest sub-allocated
        QStringLiteral("長い備考の行\r\n").repeated(500), // a block of its own
        QString(),
    };
    for (const QString& text : texts) {
        Row row{QVariant(), text};
        table.append(row);
    }
    QList<Record> records = Table::open(path()).readAll();
    ASSERT_EQ(records.size(), texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        EXPECT_EQ(records[i].values[1].toString(), texts[i]) << "memo " << i;
    // The memo file: its header (three values stored since it was made), one
    // sub-allocated block shared by the two short values, and the long value
    // in a block of two units of its own.
    const QByteArray memoFile = folder_.readFile(QStringLiteral("JA2345.MB"));
    ASSERT_EQ(memoFile.size(), 4 * 4096);
    EXPECT_EQ(memoFile.left(5), QByteArray("\x00\x01\x00\x04\x00", 5));
    EXPECT_EQ(memoFile.mid(0x1000, 3), QByteArray("\x03\x01\x00", 3));
    EXPECT_EQ(memoFile.mid(0x2000, 3), QByteArray("\x02\x02\x00", 3));

    // Changing another field keeps the memo; changing the memo stores the new text.
    table.update(records[3].position, records[3].values);
    Row row = records[1].values;
    row[1] = QStringLiteral("書き換えた備考").repeated(30);
    table.update(records[1].position, row);
    records = Table::open(path()).readAll();
    EXPECT_EQ(records[3].values[1].toString(), texts[3]);
    EXPECT_EQ(records[1].values[1].toString(), row[1].toString());
    EXPECT_EQ(records[2].values[1].toString(), texts[2]);
}

TEST_F(TableWriting, KeyedAndOddTablesAreRefusedBeforeAnythingChanges)
{
    const QString keyed = paradoxtest::copySample(folder_, QStringLiteral("AREACODE.DB"));
    const QString bcd = paradoxtest::copySample(folder_, QStringLiteral("bcd.db"));
    for (const QString& path : {keyed, bcd}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        Table table = Table::open(path);
        try {
            table.checkWritable();
            ADD_FAILURE() << "writable: " << path.toStdString();
        } catch (const SkelvoError& error) {
            const QString why =
                path == keyed ? QStringLiteral("キー付き") : QStringLiteral("「A」");
            EXPECT_TRUE(error.message().contains(why)) << error.what();
        }
        Row row(table.fields().size());
        EXPECT_THROW(table.append(row), SkelvoError);
        const QList<Record> records = table.readAll();
        EXPECT_THROW(table.update(records[0].position, records[0].values), SkelvoError);
        EXPECT_THROW(table.remove({records[0].position}), SkelvoError);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    }
}

TEST_F(TableWriting, CreateRefusesWhatItCannotMake)
{
    create();
    EXPECT_THROW(create(), SkelvoError); // exists already
    EXPECT_THROW(Table::create(path(QStringLiteral("ja2345.db")), AllTypes), SkelvoError);
    const QList<QList<Field>> bad = {
        {},
        {{QStringLiteral("a"), FieldType::Alpha, 0}},
        {{QStringLiteral("a"), FieldType::Alpha, 256}},
        {{QStringLiteral("a"), FieldType::Long, 2}},
        {{QStringLiteral("a"), FieldType::Bcd, 17}},
        {{QStringLiteral("a"), FieldType::Memo, 10}},
        {{QStringLiteral("a"), FieldType::Long, 4}, {QStringLiteral("A"), FieldType::Long, 4}},
        {{QStringLiteral("a"), FieldType::AutoIncrement, 4},
         {QStringLiteral("b"), FieldType::AutoIncrement, 4}},
        {{QString(), FieldType::Long, 4}},
        {{QStringLiteral("😀"), FieldType::Long, 4}},
    };
    for (const QList<Field>& fields : bad)
        EXPECT_THROW(Table::create(path(QStringLiteral("BAD.DB")), fields), SkelvoError);
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("BAD.DB"))));
    EXPECT_THROW(Table::create(path(QStringLiteral("BAD.DB")), AllTypes, 12345), SkelvoError);
}

TEST_F(TableWriting, DropRemovesTheTableAndItsCompanions)
{
    Table::create(path(), {{QStringLiteral("m"), FieldType::Memo, 11}});
    const QString keyed = paradoxtest::copySample(folder_, QStringLiteral("memo.db"));
    Table::drop(path());
    Table::drop(keyed);
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList());
    EXPECT_THROW(Table::drop(path()), SkelvoError);
}

TEST_F(TableWriting, TablesOfOtherCodePagesKeepTheirText)
{
    Table table = Table::create(path(QStringLiteral("WEST.DB")),
                                {{QStringLiteral("Straße"), FieldType::Alpha, 20}}, 1252);
    Row row{QStringLiteral("Flughafen Zürich")};
    table.append(row);
    EXPECT_EQ(table.info().codePage, 1252);
    EXPECT_EQ(readWithPxlib(table.path()).codePage, 1252);
    expectPxlibAgrees(table);
    Row japanese{QStringLiteral("日本")};
    EXPECT_THROW(table.append(japanese), SkelvoError);
}

} // namespace
