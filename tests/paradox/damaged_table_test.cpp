#include "core/error.h"
#include "tests/paradox/paradox_test_support.h"
#include "tests/testsupport/qt_printers.h"

#include <QFile>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

// Damaged or unusual files end in an error that names the file and what is
// wrong, never in a crash or a read out of bounds.
namespace {

using namespace paradox;
using paradoxtest::copySample;

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
    expectError(QStringLiteral("CONTACTS.DB"), {QStringLiteral("ブロック 2 はファイルの外")});
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
