// A journal found beside a table is read as anyone could have written it:
// it restores the table's own files within the bytes they have or it saved,
// or it is refused whole, left in place, and the table with it.
#include "core/error.h"
#include "paradox/paradox_table.h"
#include "tests/testsupport/temp_folder.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

using namespace paradox;

struct SavedFile
{
    QString name;
    qint64 length = 0;
    QList<QPair<qint64, QByteArray>> regions;
};
using Part = QList<SavedFile>;

QByteArray bodyOf(const Part& part)
{
    QByteArray body;
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << qint64(part.size());
    for (const SavedFile& file : part) {
        out << file.name << file.length << qint64(file.regions.size());
        for (const auto& [offset, bytes] : file.regions)
            out << offset << bytes;
    }
    return body;
}

// Parts as the program writes them, each checksummed; a part given as raw
// bytes goes in as it is.
QByteArray journalOf(const QList<std::variant<Part, QByteArray>>& parts)
{
    QByteArray journal("SKVJRNL2");
    for (const auto& part : parts) {
        if (const auto* raw = std::get_if<QByteArray>(&part)) {
            journal += *raw;
            continue;
        }
        const QByteArray body = bodyOf(std::get<Part>(part));
        QByteArray length(8, '\0');
        qToBigEndian<qint64>(body.size(), length.data());
        journal += length + body + QCryptographicHash::hash(body, QCryptographicHash::Sha1);
    }
    return journal;
}

class JournalTrust : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(root_.path()).mkdir(QStringLiteral("store"));
        tablePath_ = root_.filePath(QStringLiteral("store/T.DB"));
        Table table =
            Table::create(tablePath_, {{QStringLiteral("id"), FieldType::AutoIncrement, 4},
                                       {QStringLiteral("place"), FieldType::Alpha, 40}});
        Row row{QVariant(), QStringLiteral("滑空場")};
        table.append(row);
        root_.writeFile(QStringLiteral("outside.txt"), "precious");
        root_.writeFile(QStringLiteral("store/OTHER.DB"), "another table");
        elsewhere_.writeFile(QStringLiteral("far.txt"), "far away");
        before_ = snapshot();
    }

    // Every file under both folders with its bytes.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (const auto* folder : {&root_, &elsewhere_}) {
            for (const QString& name : {QStringLiteral("outside.txt"), QStringLiteral("far.txt"),
                                        QStringLiteral("store")}) {
                const QFileInfo info(folder->filePath(name));
                if (info.isFile())
                    files.insert(info.filePath(), folder->readFile(name));
            }
        }
        for (const QString& name :
             QDir(root_.filePath(QStringLiteral("store"))).entryList(QDir::Files))
            files.insert(name, root_.readFile(QStringLiteral("store/") + name));
        return files;
    }

    void plant(const QByteArray& journal) const
    {
        root_.writeFile(QStringLiteral("store/T.DB.journal"), journal);
    }

    qint64 tableSize() const { return QFileInfo(tablePath_).size(); }

    testsupport::TempFolder root_;
    testsupport::TempFolder elsewhere_;
    QString tablePath_;
    QMap<QString, QByteArray> before_;
};

TEST_F(JournalTrust, AJournalReachingBeyondItsTableIsRefusedWholeAndKept)
{
    const qint64 size = tableSize();
    const Part ownHeader{{QStringLiteral("T.DB"), size, {{0, QByteArray(8, 'X')}}}};
    QByteArray damagedPart = journalOf({ownHeader}).mid(8);
    damagedPart[20] = char(damagedPart[20] ^ 1);
    const struct
    {
        const char* name;
        QByteArray journal;
    } cases[] = {
        {"a file in the folder above",
         journalOf({Part{{QStringLiteral("../outside.txt"), 6, {{0, "XXXXXX"}}}}})},
        {"another table", journalOf({Part{{QStringLiteral("OTHER.DB"), 2, {{0, "XX"}}}}})},
        {"a file by absolute path",
         journalOf({Part{{elsewhere_.filePath(QStringLiteral("far.txt")), 3, {{0, "XXX"}}}}})},
        {"a new file", journalOf({Part{{QStringLiteral("NEW.TXT"), 4, {{0, "XXXX"}}}}})},
        {"the table's memo, which it does not have",
         journalOf({ownHeader, Part{{QStringLiteral("T.MB"), 4, {{0, "XXXX"}}}}})},
        {"the table grown far beyond its bytes",
         journalOf({Part{{QStringLiteral("T.DB"), qint64(1) << 40, {}}}})},
        {"bytes past the length recorded with them",
         journalOf({Part{{QStringLiteral("T.DB"), size, {{size, "XX"}}}}})},
        {"a damaged part before a good one", journalOf({ownHeader, damagedPart, ownHeader})},
        {"no journal at all", QByteArray("hello, world")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plant(c.journal);
        try {
            Table::open(tablePath_);
            ADD_FAILURE() << "opened";
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("T.DB.journal")))
                << error.message().toStdString();
        }
        QMap<QString, QByteArray> after = snapshot();
        EXPECT_EQ(after.take(QStringLiteral("T.DB.journal")), c.journal); // kept for the user
        EXPECT_EQ(after, before_);
    }
}

TEST_F(JournalTrust, ATableFileThatLinksElsewhereIsNotRestoredThrough)
{
    const QString outside = root_.filePath(QStringLiteral("outside.txt"));
    ASSERT_TRUE(QFile::remove(tablePath_));
    ASSERT_TRUE(QFile::link(outside, tablePath_));
    plant(journalOf({Part{{QStringLiteral("T.DB"), 8, {{0, "XXXXXXXX"}}}}}));
    EXPECT_THROW(Table::open(tablePath_), SkelvoError);
    EXPECT_EQ(root_.readFile(QStringLiteral("outside.txt")), "precious");
}

TEST_F(JournalTrust, AJournalOfTheTablesOwnBytesRestoresThemAndAWriteCutShortIsDropped)
{
    const QByteArray original = root_.readFile(QStringLiteral("store/T.DB"));
    const qint64 size = original.size();
    const Part restore{{QStringLiteral("T.DB"), size, {{0, original.left(16)}}}};
    const struct
    {
        const char* name;
        QByteArray journal;
        bool undoes; // a write the journal covers went into the table
    } cases[] = {
        {"whole", journalOf({restore}), true},
        {"a last part cut short", journalOf({restore, QByteArray(20, '\x01')}), true},
        {"zeros after a power failure", journalOf({restore, QByteArray(64, '\0')}), true},
        {"only the start of its heading", QByteArray("SKVJ"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.undoes)
            root_.writeFile(QStringLiteral("store/T.DB"),
                            QByteArray(16, '\xee') + original.mid(16));
        plant(c.journal);
        EXPECT_EQ(Table::open(tablePath_).readAll().size(), 1);
        EXPECT_EQ(snapshot(), before_);
    }
}

} // namespace
