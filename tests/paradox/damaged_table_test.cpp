#include "core/error.h"
#include "core/text_encoding.h"
#include "paradox/block_chain.h"
#include "paradox/number_encoding.h"
#include "tests/paradox/paradox_test_support.h"
#include "tests/testsupport/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

// Damaged or unusual files end in an error that names the file and what is
// wrong, never in a crash or a read out of bounds; unusual files that other
// software writes and reads are read.
namespace {

using namespace paradox;
using paradoxtest::copySample;
using paradoxtest::valuesOf;

class DamagedTable : public testing::Test
{
protected:
    QString copy(const QString& sample) { return copySample(folder_, sample); }

    void patch(const QString& name, qint64 offset, const QByteArray& bytes)
    {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.seek(offset);
        file.write(bytes);
    }

    void cut(const QString& name, qint64 length)
    {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.resize(length));
    }

    // Opening and reading the table fails with a message naming the file
    // and containing the fragments.
    void expectError(const QString& name, const QStringList& fragments)
    {
        try {
            Table::open(folder_.filePath(name)).readAll();
            ADD_FAILURE() << "no error for " << fragments.join(u' ').toStdString();
        } catch (const SkelvoError& error) {
            for (const QString& fragment : QStringList{name} + fragments)
                EXPECT_TRUE(error.message().contains(fragment)) << error.what();
        }
    }

    testsupport::TempFolder folder_;
};

QByteArray le16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

TEST_F(DamagedTable, ShortOrTruncatedFiles)
{
    copy(QStringLiteral("CONTACTS.DB"));
    cut(QStringLiteral("CONTACTS.DB"), 40);
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("短すぎます")});

    copy(QStringLiteral("CONTACTS.DB"));
    cut(QStringLiteral("CONTACTS.DB"), 1000); // the header says 2048 bytes
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("ヘッダーの長さ 2048")});

    copy(QStringLiteral("CONTACTS.DB"));
    cut(QStringLiteral("CONTACTS.DB"), 2048 + 2048 + 100); // block 2 cut short
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("ブロック 2 のレコード")});

    copy(QStringLiteral("CONTACTS.DB"));
    cut(QStringLiteral("CONTACTS.DB"), 2048 + 2 * 2048 + 4); // in block 3's head
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("ブロック 3 はファイルの外")});
}

TEST_F(DamagedTable, BlockChainThatLoopsOrPointsOutside)
{
    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 2048 + 2048, le16(1)); // block 2 leads back to block 1
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("輪")});

    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 2048, le16(40)); // block 1 leads to block 40
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("ブロック 40 はファイルの外")});

    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 2048 + 4, le16(0x7000)); // more data than the block holds
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("収まりません")});
}

// A write goes to the header's last block and numbers a new block after the
// header's block count, so a header whose counters disagree with the chain
// would lose an acknowledged row: such a table is refused on opening and on
// writing (should it be damaged after opening), and nothing is written.
TEST_F(DamagedTable, HeaderCountersThatDisagreeWithTheChain)
{
    const QString name = QStringLiteral("COUNTED.DB");
    const QString path = folder_.filePath(name);
    const QList<Field> fields = {{QStringLiteral("place"), FieldType::Alpha, 40}};
    {
        Table table = Table::create(path, fields);
        Row row{QStringLiteral("滑空場")};
        table.append(row);
    }
    const QByteArray healthy = folder_.readFile(name);
    const QByteArray emptyBlock = codec::blockHead(0, 0, 0, 40); // block 2, off the chain
    const struct
    {
        const char* damage;
        int offset;
        QByteArray value;
        QString named;
    } cases[] = {
        {"first block past the chain", 0x0E, le16(2), QStringLiteral("ブロック 2")},
        {"last block off the chain", 0x10, le16(2), QStringLiteral("最後のブロック 2")},
        {"no blocks", 0x0C, le16(0), QStringLiteral("レコード数 1")},
        {"record count", 0x06, le16(2), QStringLiteral("レコード数 2")},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.damage);
        QByteArray damaged = healthy + emptyBlock;
        damaged.replace(bad.offset, bad.value.size(), bad.value);
        folder_.writeFile(name, damaged);
        try {
            Table::open(path);
            ADD_FAILURE() << "opened";
        } catch (const SkelvoError& error) {
            for (const QString& fragment : {name, bad.named})
                EXPECT_TRUE(error.message().contains(fragment)) << error.what();
        }

        folder_.writeFile(name, healthy);
        Table table = Table::open(path);
        folder_.writeFile(name, damaged);
        const QStringList files = QDir(folder_.path()).entryList(QDir::Files);
        Row row{QStringLiteral("飛行場")};
        EXPECT_THROW(table.append(row), SkelvoError);
        EXPECT_EQ(folder_.readFile(name), damaged);
        EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), files);
    }
}

TEST_F(DamagedTable, HeaderValuesOutOfRange)
{
    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 0x21, le16(300));
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("フィールド数 300")});

    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 0x39, QByteArray(1, char(0x2A)));
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("版 (42)")});

    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 0x79, QByteArray(1, char(11))); // Last Name 10 -> 11 bytes
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("レコード長 75")});

    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 0x04, QByteArray(1, char(1))); // a primary index
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("データファイルではありません")});
}

TEST_F(DamagedTable, MemoPointingNowhere)
{
    // Record 1's memo is in slot 0x3F of the sub-allocated block at 0x1000.
    const qint64 location = 2048 + 6 + 4 + 240;
    copy(QStringLiteral("memo.db"));
    patch(QStringLiteral("memo.db"), location, QByteArray("\x10\x10\x00\x00", 4)); // unused slot
    expectError(QStringLiteral("memo.db"), {QStringLiteral("memo.mb"), QStringLiteral("削除")});

    copy(QStringLiteral("memo.db"));
    patch(QStringLiteral("memo.db"), location, QByteArray("\x3f\x00\x01\x00", 4)); // past the end
    expectError(QStringLiteral("memo.db"),
                {QStringLiteral("memo.mb"), QStringLiteral("ファイルの外")});

    copy(QStringLiteral("memo.db"));
    QFile::remove(folder_.filePath(QStringLiteral("memo.mb")));
    expectError(QStringLiteral("memo.db"), {QStringLiteral("メモファイル")});
}

TEST_F(DamagedTable, TextOutsideTheCodePage)
{
    copy(QStringLiteral("CUSTOMER.DB")); // code page 1252, which has no 0x81
    patch(QStringLiteral("CUSTOMER.DB"), 2048 + 6 + 4, QByteArray("\x81", 1));
    expectError(QStringLiteral("CUSTOMER.DB"), {QStringLiteral("FirstName")});
}

TEST_F(DamagedTable, TimestampOutOfRange)
{
    for (const double milliseconds : {1e300, -1e300, 1e19, 2e17, -2e17}) {
        SCOPED_TRACE(milliseconds);
        copy(QStringLiteral("timestamp.db"));
        QByteArray value(8, '\0');
        codec::writeFlippedDouble(value.data(), milliseconds);
        patch(QStringLiteral("timestamp.db"), 2048 + 6, value);
        expectError(QStringLiteral("timestamp.db"), {QStringLiteral("範囲の外")});
    }
}

// Formatted memo and blob fields may have no leader: their 10 bytes are
// where the value is in the memo file, its length and a modification number.
TEST_F(DamagedTable, BlobFieldsWithoutALeaderAreRead)
{
    const QString path = folder_.filePath(QStringLiteral("NOTES.DB"));
    const QString text = QStringLiteral("書式付きのメモ").repeated(20);
    {
        Table table = Table::create(path, {{QStringLiteral("memo"), FieldType::Memo, 11},
                                           {QStringLiteral("other"), FieldType::Alpha, 10}});
        Row row{text, QVariant()};
        table.append(row);
    }
    const QByteArray bytes = folder_.readFile(QStringLiteral("NOTES.DB"));
    const qint64 record = qFromLittleEndian<quint16>(bytes.constData() + 2) + 6;
    // The other field points at the memo too.
    patch(QStringLiteral("NOTES.DB"), record + 11, bytes.mid(record + 1, 10));

    const struct
    {
        FieldType type;
        QVariant value;
    } cases[] = {
        {FieldType::FormattedMemo, text},
        {FieldType::Blob, TextEncoding::encodeCp932(text)},
    };
    for (const auto& blob : cases) {
        SCOPED_TRACE(int(blob.type));
        patch(QStringLiteral("NOTES.DB"), 0x78 + 2, QByteArray(1, char(blob.type)));
        const Table table = Table::open(path);
        EXPECT_EQ(table.fields()[1].size, 10);
        EXPECT_EQ(table.readAll()[0].values, (Row{text, blob.value}));
    }
}

// Some writers end the file right after the last record of its final block:
// those records are read, a record cut short is an error, and a write first
// makes the block whole.
TEST_F(DamagedTable, FileEndingAtTheLastRecordOfItsBlock)
{
    const QString name = QStringLiteral("SHORT.DB");
    const QString path = folder_.filePath(name);
    const QList<Field> fields = {{QStringLiteral("place"), FieldType::Alpha, 40},
                                 {QStringLiteral("minutes"), FieldType::Long, 4}};
    const TableInfo info = Table::create(path, fields).info();
    const int perBlock = (info.blockSize - 6) / info.recordSize;
    for (const int rows : {5, perBlock}) { // room left in the last block, or none
        SCOPED_TRACE(rows);
        Table::drop(path);
        QList<Row> written;
        Table table = Table::create(path, fields);
        table.beginTransaction();
        for (int n = 0; n <= rows; ++n) {
            written.append({QStringLiteral("滑空場 %1").arg(n), n});
            if (n < rows)
                table.append(written.last());
        }
        table.commit();
        const QList<Record> records = table.readAll();
        const qint64 headerSize = records.first().position - 6; // block 1 follows the header
        const qint64 end = records.last().position + info.recordSize;
        const QByteArray bytes = folder_.readFile(name).left(end);

        folder_.writeFile(name, bytes.left(end - 1));
        expectError(name, {QStringLiteral("切れています")});

        folder_.writeFile(name, bytes);
        EXPECT_EQ(valuesOf(table.readAll()), written.mid(0, rows));
        table.append(written.last());
        EXPECT_EQ(valuesOf(Table::open(path).readAll()), written);
        EXPECT_EQ((QFileInfo(path).size() - headerSize) % info.blockSize, 0);
        paradoxtest::expectPxlibReadsTheSame(path);
    }
}

TEST_F(DamagedTable, EncryptedTableIsRecognizedAndRefused)
{
    copy(QStringLiteral("CONTACTS.DB"));
    patch(QStringLiteral("CONTACTS.DB"), 0x5C, QByteArray("\x12\x34\x56\x78", 4));
    const Table table = Table::open(folder_.filePath(QStringLiteral("CONTACTS.DB")));
    EXPECT_TRUE(table.info().encrypted);
    EXPECT_THROW(table.readAll(), SkelvoError);
    EXPECT_THROW(table.checkWritable(), SkelvoError);
}

// Every single-byte change of the header and of the first block, and every
// length the file could be cut to, ends in values or in an error.
TEST_F(DamagedTable, NoDamageCrashesTheReader)
{
    const QString path = copy(QStringLiteral("memo.db"));
    QFile source(path);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray original = source.readAll();
    source.close();
    const auto tryRead = [&](const QByteArray& bytes) {
        folder_.writeFile(QStringLiteral("memo.db"), bytes);
        try {
            Table::open(path).readAll();
        } catch (const SkelvoError&) {
        }
    };
    for (qsizetype offset = 0; offset < 0x100; ++offset) {
        for (const char value : {char(0x00), char(0x7F), char(0xFF)}) {
            QByteArray bytes = original;
            bytes[offset] = value;
            tryRead(bytes);
        }
    }
    for (qsizetype offset = 2048; offset < 2048 + 0x120; ++offset) {
        QByteArray bytes = original;
        bytes[offset] = char(0xFF);
        tryRead(bytes);
    }
    for (qsizetype length = 0; length < original.size(); length += 61)
        tryRead(original.left(length));
}

} // namespace
