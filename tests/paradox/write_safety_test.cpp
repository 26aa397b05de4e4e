#include "core/error.h"
#include "tests/paradox/paradox_test_support.h"
#include "tests/testsupport/qt_printers.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <functional>
#include <gtest/gtest.h>

// A write stopped at any of its steps, as by a crash, leaves the old table
// or the new one, whole, once the table is opened again; a second writer
// waits its turn.
namespace {

using namespace paradox;
using paradoxtest::valuesOf;

// What the step hook throws to stop a write where a crash could.
struct Stopped
{
    std::string step;
};

const QList<Field> LogFields = {{QStringLiteral("id"), FieldType::AutoIncrement, 4},
                                {QStringLiteral("place"), FieldType::Alpha, 40},
                                {QStringLiteral("minutes"), FieldType::Long, 4},
                                // A one-byte leader: any longer remark goes to the memo file.
                                {QStringLiteral("remarks"), FieldType::Memo, 11}};

Row logRow(int n)
{
    return {QVariant(), QStringLiteral("滑空場 %1").arg(n), n * 10,
            n % 3 == 0 ? QVariant() : QVariant(QStringLiteral("備考 %1").repeated(n % 7 + 1))};
}

struct Write
{
    const char* name;
    int rowsBefore; // in the table before the write
    std::function<void(Table&)> run;
    QStringList steps;
};

const QStringList InPlaceSteps = {QStringLiteral("journal written"),
                                  QStringLiteral("record written"),
                                  QStringLiteral("header written")};
const QStringList RewriteSteps = {QStringLiteral("temporary written"),
                                  QStringLiteral("table replaced")};

void appendRow(Table& table, Row row)
{
    table.append(row);
}

// The number of records that fill the first block of a log table.
int oneBlock()
{
    testsupport::TempFolder folder;
    const TableInfo info = Table::create(folder.filePath(QStringLiteral("X.DB")), LogFields).info();
    return (info.blockSize - 6) / info.recordSize;
}

const QList<Write>& writes()
{
    static const QList<Write> all = {
        {"append into the last block", 5, [](Table& t) { appendRow(t, logRow(100)); },
         InPlaceSteps},
        {"append opening a new block", oneBlock(), [](Table& t) { appendRow(t, logRow(101)); },
         InPlaceSteps},
        {"append a long remark", 5,
         [](Table& t) {
             appendRow(t, {QVariant(), QStringLiteral("x"), 1,
                           QStringLiteral("長い備考").repeated(1000)});
         },
         InPlaceSteps},
        {"update", 5,
         [](Table& t) {
             const Record record = t.readAll()[2];
             Row row = record.values;
             row[1] = QStringLiteral("変更");
             row[3] = QStringLiteral("新しい備考").repeated(5);
             t.update(record.position, row);
         },
         InPlaceSteps},
        {"remove", 5,
         [](Table& t) {
             const QList<Record> records = t.readAll();
             t.remove({records[0].position, records[3].position});
         },
         RewriteSteps},
    };
    return all;
}

class WriteSafety : public testing::Test
{
protected:
    void TearDown() override { Table::setStepHook({}); }

    // A fresh log table with the given number of rows.
    QString makeTable(const testsupport::TempFolder& folder, int rows)
    {
        const QString path = folder.filePath(QStringLiteral("JA2345.DB"));
        Table table = Table::create(path, LogFields);
        for (int n = 1; n <= rows; ++n)
            appendRow(table, logRow(n));
        return path;
    }

    QList<Row> rowsAfter(const Write& write)
    {
        testsupport::TempFolder folder;
        const QString path = makeTable(folder, write.rowsBefore);
        Table table = Table::open(path);
        write.run(table);
        return valuesOf(Table::open(path).readAll());
    }
};

TEST_F(WriteSafety, StepsAreReportedInOrder)
{
    for (const Write& write : writes()) {
        testsupport::TempFolder folder;
        Table table = Table::open(makeTable(folder, write.rowsBefore));
        QStringList reached;
        Table::setStepHook([&](const char* step) { reached.append(QString::fromLatin1(step)); });
        write.run(table);
        Table::setStepHook({});
        EXPECT_EQ(reached, write.steps) << write.name;
    }
}

TEST_F(WriteSafety, WriteStoppedAtAnyStepLeavesTheOldOrTheNewTable)
{
    for (const Write& write : writes()) {
        const QList<Row> after = rowsAfter(write);
        for (const QString& step : write.steps) {
            SCOPED_TRACE(std::string(write.name) + " stopped after " + step.toStdString());
            testsupport::TempFolder folder;
            const QString path = makeTable(folder, write.rowsBefore);
            const QList<Row> before = valuesOf(Table::open(path).readAll());
            Table table = Table::open(path);
            Table::setStepHook([&](const char* reached) {
                if (step == QLatin1String(reached))
                    throw Stopped{reached};
            });
            EXPECT_THROW(write.run(table), Stopped);
            Table::setStepHook({});

            const QList<Row> reopened = valuesOf(Table::open(path).readAll());
            // A write in place is undone until its journal is gone; a
            // rewrite counts once the new file has replaced the old.
            const bool replaced = step == QLatin1String("table replaced");
            EXPECT_EQ(reopened, replaced ? after : before);
            EXPECT_FALSE(QFile::exists(path + QStringLiteral(".journal")));
            EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
                      (QStringList{QStringLiteral("JA2345.DB"), QStringLiteral("JA2345.MB")}));
            paradoxtest::expectPxlibReadsTheSame(path);

            // And the table goes on working.
            Table again = Table::open(path);
            appendRow(again, logRow(7));
            EXPECT_EQ(valuesOf(again.readAll()).size(), reopened.size() + 1);
        }
    }
}

TEST_F(WriteSafety, NextWriteRollsBackWhatAStoppedOneLeft)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, 5);
    Table table = Table::open(path);
    const QList<Row> before = valuesOf(table.readAll());
    Table::setStepHook([](const char* step) {
        if (std::string(step) == "record written")
            throw Stopped{step};
    });
    EXPECT_THROW(appendRow(table, logRow(50)), Stopped);
    Table::setStepHook({});
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".journal")));

    Row row = logRow(60);
    table.append(row);    // the same object, not reopened
    EXPECT_EQ(row[0], 6); // the stopped append's number was not used
    QList<Row> expected = before;
    expected.append(row);
    EXPECT_EQ(valuesOf(Table::open(path).readAll()), expected);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".journal")));
}

TEST_F(WriteSafety, IncompleteJournalIsDiscardedAndTheTableKept)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, 5);
    Table table = Table::open(path);
    const QList<Row> before = valuesOf(table.readAll());
    Table::setStepHook([](const char* step) {
        if (std::string(step) == "journal written")
            throw Stopped{step};
    });
    EXPECT_THROW(appendRow(table, logRow(50)), Stopped);
    Table::setStepHook({});

    // As if the program had ended while still writing the journal.
    QFile journal(path + QStringLiteral(".journal"));
    ASSERT_TRUE(journal.open(QIODevice::ReadWrite));
    ASSERT_TRUE(journal.resize(journal.size() - 1));
    journal.close();

    EXPECT_EQ(valuesOf(Table::open(path).readAll()), before);
    EXPECT_FALSE(journal.exists());
}

TEST_F(WriteSafety, SecondWriterIsRefusedWhileTheLockIsHeld)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, 3);
    Table table = Table::open(path);
    const QList<Record> records = table.readAll();
    {
        QLockFile otherProgram(path + QStringLiteral(".lock"));
        ASSERT_TRUE(otherProgram.tryLock(0));
        try {
            appendRow(table, logRow(9));
            ADD_FAILURE() << "append while locked";
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("JA2345.DB")));
            EXPECT_TRUE(error.message().contains(QStringLiteral("別のプログラムが書き込み中")));
        }
        EXPECT_THROW(table.update(records[0].position, records[0].values), SkelvoError);
        EXPECT_THROW(table.remove({records[0].position}), SkelvoError);
        EXPECT_THROW(Table::drop(path), SkelvoError);
    }
    EXPECT_EQ(valuesOf(table.readAll()), valuesOf(records));
    appendRow(table, logRow(9));
    EXPECT_EQ(table.readAll().size(), 4);
}

TEST_F(WriteSafety, LockLeftByAnEndedProgramIsTakenOver)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, 3);
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 pid = ended.processId();
    ended.waitForFinished();
    folder.writeFile(QStringLiteral("JA2345.DB.lock"), QByteArray::number(pid) + "\nskelvo\n" +
                                                           QSysInfo::machineHostName().toUtf8() +
                                                           "\n");

    Table table = Table::open(path);
    appendRow(table, logRow(4));
    EXPECT_EQ(table.readAll().size(), 4);
}

} // namespace
