#include "core/error.h"
#include "paradox/table_files.h"
#include "paradox/table_header.h"
#include "tests/paradox/paradox_test_support.h"
#include "tests/testsupport/qt_printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

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
    void TearDown() override
    {
        Table::setStepHook({});
        Table::setSyncHook({});
        Table::setPendingLimit(0);
    }

    // A fresh log table with the given number of rows.
    QString makeTable(const testsupport::TempFolder& folder, int rows)
    {
        const QString path = folder.filePath(QStringLiteral("JA2345.DB"));
        Table table = Table::create(path, LogFields);
        table.beginTransaction();
        for (int n = 1; n <= rows; ++n)
            appendRow(table, logRow(n));
        table.commit();
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

// The table and memo files as another reader finds them: read whole through
// handles of their own, so no buffer of the writer's counts.
struct FileBytes
{
    QByteArray table;
    QByteArray memo;
};

QByteArray wholeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FileBytes filesOf(const QString& tablePath)
{
    return {wholeFile(tablePath), wholeFile(codec::existingMemoPath(tablePath))};
}

// The header part a write's last step changes.
int headerCounterPart(const QString& tablePath)
{
    QFile file(tablePath);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return codec::readTableHeader(file, tablePath).fixedSize;
}

void expectSameBytes(const QByteArray& seen, const QByteArray& expected, const char* file)
{
    if (seen == expected)
        return;
    qsizetype at = 0;
    while (at < seen.size() && at < expected.size() && seen[at] == expected[at])
        ++at;
    ADD_FAILURE() << file << " file: " << seen.size() << " bytes where " << expected.size()
                  << " are due, first difference at " << at;
}

// Once a step is reported, its bytes are in the files, as a crash right then
// would leave them; the header's counters come last.
TEST_F(WriteSafety, StepReportedDoneIsInTheFiles)
{
    for (const Write& write : writes()) {
        if (write.steps != InPlaceSteps)
            continue;
        testsupport::TempFolder folder;
        const QString path = makeTable(folder, write.rowsBefore);
        const FileBytes before = filesOf(path);
        std::map<std::string, FileBytes> seen;
        Table table = Table::open(path);
        Table::setStepHook([&](const char* step) { seen[step] = filesOf(path); });
        write.run(table);
        Table::setStepHook({});
        const FileBytes after = filesOf(path);
        const int counters = headerCounterPart(path);

        const std::pair<const char*, FileBytes> due[] = {
            {"journal written", before},
            {"record written",
             {before.table.left(counters) + after.table.mid(counters), after.memo}},
            {"header written", after},
        };
        for (const auto& [step, files] : due) {
            SCOPED_TRACE(std::string(write.name) + ", " + step);
            ASSERT_TRUE(seen.contains(step));
            expectSameBytes(seen[step].table, files.table, "table");
            expectSameBytes(seen[step].memo, files.memo, "memo");
        }
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
        EXPECT_THROW(Table::drop(path), SkelvoError);
    }
    EXPECT_EQ(valuesOf(table.readAll()), valuesOf(records));
    appendRow(table, logRow(9));
    EXPECT_EQ(table.readAll().size(), 4);
}

// Another instance's write ends within the wait: the second writer gets in.
TEST_F(WriteSafety, SecondWriterWaitsForALockReleasedSoon)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, 3);
    Table table = Table::open(path);
    int locked[2];
    ASSERT_EQ(pipe(locked), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile otherProgram(path + QStringLiteral(".lock"));
        const bool holds = otherProgram.tryLock(0);
        if (write(locked[1], "x", 1) != 1 || !holds)
            _exit(1);
        usleep(800 * 1000);
        otherProgram.unlock();
        _exit(0);
    }
    close(locked[1]); // a child that dies early ends the read
    char signal = 0;
    const bool childHoldsTheLock = read(locked[0], &signal, 1) == 1;
    close(locked[0]);
    ASSERT_TRUE(childHoldsTheLock);
    appendRow(table, logRow(4));
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(table.readAll().size(), 4);
}

// Also when a program killed as it took that lock over left the lock Qt
// takes for the removal beside it, naming no owner.
TEST_F(WriteSafety, LockLeftByAnEndedProgramIsTakenOver)
{
    for (const bool removalLockLeft : {false, true}) {
        SCOPED_TRACE(removalLockLeft ? "removal lock left" : "lock alone");
        testsupport::TempFolder folder;
        const QString path = makeTable(folder, 3);
        QProcess ended;
        ended.start(QStringLiteral("true"), {});
        ASSERT_TRUE(ended.waitForStarted());
        const qint64 pid = ended.processId();
        ended.waitForFinished();
        folder.writeFile(QStringLiteral("JA2345.DB.lock"),
                         QByteArray::number(pid) + "\nskelvo\n" +
                             QSysInfo::machineHostName().toUtf8() + "\n");
        if (removalLockLeft) {
            QFile removal(folder.filePath(QStringLiteral("JA2345.DB.lock.rmlock")));
            ASSERT_TRUE(removal.open(QIODevice::WriteOnly));
            ASSERT_TRUE(removal.setFileTime(QDateTime::currentDateTime().addSecs(-5),
                                            QFileDevice::FileModificationTime));
        }

        Table table = Table::open(path);
        appendRow(table, logRow(4));
        EXPECT_EQ(table.readAll().size(), 4);
    }
}

// A program killed between creating the lock file and writing its name in
// it leaves the file empty.
TEST_F(WriteSafety, LockLeftEmptyByAKilledProgramIsTakenOver)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, 3);
    QFile lock(path + QStringLiteral(".lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
    lock.close();

    Table table = Table::open(path);
    appendRow(table, logRow(4));
    EXPECT_EQ(table.readAll().size(), 4);
}

// The writes of one transaction: appends that fill the last block and open
// a new one, a long remark, updates of an old row and of a new one, and a
// removal, which rewrites the table shorter, followed by one more append.
void transactionWrites(Table& table)
{
    table.beginTransaction();
    appendRow(table, logRow(201));
    appendRow(table,
              {QVariant(), QStringLiteral("x"), 1, QStringLiteral("長い備考").repeated(900)});
    const QList<Record> records = table.readAll();
    for (const Record& record : {records[1], records.last()}) {
        Row row = record.values;
        row[1] = QStringLiteral("変更");
        row[3] = QStringLiteral("新しい備考").repeated(3);
        table.update(record.position, row);
    }
    table.remove({records[0].position, records[2].position});
    appendRow(table, logRow(202));
    table.commit();
}

// Runs the transaction in a child process that ends abruptly, unflushed
// buffers and all, once it reaches the given step.
void runInChildUntil(const QString& path, int stopAt)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int reached = 0;
        Table::setStepHook([&](const char*) {
            if (++reached == stopAt)
                _exit(0);
        });
        try {
            Table table = Table::open(path);
            transactionWrites(table);
        } catch (...) {
            _exit(2);
        }
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the child did not reach step " << stopAt;
}

// The writes reach the files at the commit, each changed page once; with
// a limit of one page held, they go ahead of it in parts, each journalled
// first. Either way a kill leaves the old table or the new one.
TEST_F(WriteSafety, TransactionKilledAtAnyStepLeavesTheOldOrTheNewTable)
{
    for (const qint64 limit : {qint64(0), qint64(4096)}) {
        SCOPED_TRACE("pages held up to " + std::to_string(limit));
        Table::setPendingLimit(limit);
        testsupport::TempFolder reference;
        const QString referencePath = makeTable(reference, oneBlock() - 1);
        const QList<Row> before = valuesOf(Table::open(referencePath).readAll());
        QStringList steps;
        Table::setStepHook([&](const char* step) { steps.append(QString::fromLatin1(step)); });
        {
            Table table = Table::open(referencePath);
            transactionWrites(table);
        }
        Table::setStepHook({});
        const QList<Row> after = valuesOf(Table::open(referencePath).readAll());
        ASSERT_EQ(after.size(), before.size() + 1); // three rows added, two removed
        const QStringList commit = {QStringLiteral("journal written"),
                                    QStringLiteral("files written"), QStringLiteral("files synced"),
                                    QStringLiteral("journal removed")};
        if (limit == 0)
            ASSERT_EQ(steps, commit);
        else
            ASSERT_GT(steps.count(commit[0]), 2);
        ASSERT_EQ(steps.mid(steps.size() - 2), commit.mid(2));

        for (int stopAt = 1; stopAt <= steps.size(); ++stopAt) {
            SCOPED_TRACE("killed after step " + std::to_string(stopAt) + " " +
                         steps[stopAt - 1].toStdString());
            testsupport::TempFolder folder;
            const QString path = makeTable(folder, oneBlock() - 1);
            runInChildUntil(path, stopAt);
            const QList<Row> reopened = valuesOf(Table::open(path).readAll());
            EXPECT_EQ(reopened, stopAt == steps.size() ? after : before);
            EXPECT_FALSE(QFile::exists(path + QStringLiteral(".journal")));
            paradoxtest::expectPxlibReadsTheSame(path);
        }
    }
}

// Savepoints, a rollback to the start and a rollback, with the pages held
// and with them written ahead of the commit.
TEST_F(WriteSafety, RolledBackTransactionLeavesTheTableAndItsLock)
{
    for (const qint64 limit : {qint64(0), qint64(4096)}) {
        SCOPED_TRACE("pages held up to " + std::to_string(limit));
        Table::setPendingLimit(limit);
        testsupport::TempFolder folder;
        const QString path = makeTable(folder, oneBlock() - 1);
        const QList<Row> before = valuesOf(Table::open(path).readAll());
        {
            Table table = Table::open(path);
            table.beginTransaction();
            Row kept = logRow(300);
            table.append(kept);
            // Written ahead: under a journal from then on.
            EXPECT_EQ(QFile::exists(path + QStringLiteral(".journal")), limit > 0);
            const int savepoint = table.savepoint();
            appendRow(table, logRow(301));
            const Record first = table.readAll().first();
            Row changed = first.values;
            changed[3] = QStringLiteral("変更").repeated(50);
            table.update(first.position, changed);
            table.rollBackTo(savepoint);
            QList<Row> expected = before;
            expected.append(kept);
            EXPECT_EQ(valuesOf(table.readAll()), expected);
            table.rollBackTo(0);
            EXPECT_EQ(valuesOf(table.readAll()), before);
            appendRow(table, logRow(304));
            table.rollBack();
            EXPECT_EQ(valuesOf(table.readAll()), before);

            table.beginTransaction();
            appendRow(table, logRow(302));
        } // destroyed within a transaction: rolled back
        EXPECT_EQ(valuesOf(Table::open(path).readAll()), before);
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".journal")));
        Table other = Table::open(path);
        appendRow(other, logRow(303));
        EXPECT_EQ(other.readAll().size(), before.size() + 1);
        paradoxtest::expectPxlibReadsTheSame(path);
    }
}

// Until its commit a transaction leaves the files as they were, for other
// readers. A commit that stops half-way is rolled back to the byte and the
// length: with the table's last block and the memo's sub-allocated block
// exactly full, the new row adds a block to each, of which nothing may stay.
TEST_F(WriteSafety, RolledBackTransactionLeavesTheFilesByteForByte)
{
    testsupport::TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("JA2345.DB"));
    {
        Table table = Table::create(path, LogFields);
        table.beginTransaction();
        const int rows = oneBlock();
        for (int n = 1; n <= rows; ++n) {
            Row row = logRow(n);
            // Five remarks of 47 chunks of 16 bytes fill what the slot table leaves.
            row[3] = n <= 5 ? QVariant(QString(47 * 16, u'm')) : QVariant();
            table.append(row);
        }
        table.commit();
    }
    const FileBytes before = filesOf(path);
    ASSERT_EQ(before.memo.size(), 2 * 4096);
    int usedChunks = 0;
    for (int slot = 0; slot < 64; ++slot) {
        const char* entry = before.memo.constData() + 4096 + 12 + 5 * slot;
        usedChunks = qMax(usedChunks, quint8(entry[0]) + quint8(entry[1]));
    }
    ASSERT_EQ(usedChunks, 256);

    Table table = Table::open(path);
    table.beginTransaction();
    appendRow(table,
              {QVariant(), QStringLiteral("x"), 1, QStringLiteral("長い備考").repeated(900)});
    expectSameBytes(filesOf(path).table, before.table, "table in the transaction");
    EXPECT_EQ(Table::open(path).readAll().size(), oneBlock());
    Table::setStepHook([](const char* step) {
        if (std::string(step) == "files written")
            throw Stopped{step};
    });
    EXPECT_THROW(table.commit(), Stopped);
    Table::setStepHook({});
    ASSERT_GT(filesOf(path).table.size(), before.table.size());
    table.rollBack();
    const FileBytes after = filesOf(path);
    expectSameBytes(after.table, before.table, "table");
    expectSameBytes(after.memo, before.memo, "memo");
}

// The commit makes every file the transaction wrote durable before the
// journal that could undo them goes.
TEST_F(WriteSafety, CommitSyncsEveryWrittenFileBeforeTheJournalGoes)
{
    testsupport::TempFolder folder;
    const QString path = makeTable(folder, oneBlock() - 1);
    QStringList events;
    Table::setStepHook([&](const char* step) { events.append(QString::fromLatin1(step)); });
    Table::setSyncHook([&](const QString& file) {
        events.append(QStringLiteral("synced ") + QFileInfo(file).fileName());
    });
    {
        Table table = Table::open(path);
        transactionWrites(table);
    }
    Table::setSyncHook({});
    const qsizetype journalWritten = events.indexOf(QStringLiteral("journal written"));
    const qsizetype lastWrite = events.indexOf(QStringLiteral("files written"));
    const qsizetype journalGone = events.indexOf(QStringLiteral("journal removed"));
    ASSERT_GE(journalWritten, 0);
    ASSERT_GT(journalGone, lastWrite);
    EXPECT_TRUE(events.mid(0, journalWritten).contains(QStringLiteral("synced JA2345.DB.journal")));
    const QStringList commit = events.mid(lastWrite + 1, journalGone - lastWrite - 1);
    for (const QString& file : {QStringLiteral("JA2345.DB"), QStringLiteral("JA2345.MB")})
        EXPECT_TRUE(commit.contains(QStringLiteral("synced ") + file))
            << file.toStdString() << " not synced: " << commit.join(u',').toStdString();
}

} // namespace
