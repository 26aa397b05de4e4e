// A writer killed at any moment, over and over on the same table, leaves a
// table that opens in this codec and in pxlib with every write it finished
// and at most the one it was doing: appends, updates with memo text, and
// transactions, which count as finished once commit() has returned.
#include "tests/paradox/paradox_test_support.h"
#include "tests/testsupport/qt_printers.h"

#include <QFile>
#include <QMap>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace paradox;

const QList<Field> Fields = {{QStringLiteral("id"), FieldType::AutoIncrement, 4},
                             {QStringLiteral("n"), FieldType::Long, 4}, // the row's own number
                             {QStringLiteral("v"), FieldType::Long, 4}, // its updates so far
                             {QStringLiteral("note"), FieldType::Memo, 11}};

// None, a short text or one of several memo blocks, changing with each update.
QVariant noteFor(int n, int v)
{
    switch ((n + v) % 3) {
    case 0:
        return QVariant();
    case 1:
        return QStringLiteral("備考 %1-%2").arg(n).arg(v);
    default:
        return QStringLiteral("長い備考 %1-%2 ").arg(n).arg(v).repeated(120);
    }
}

// A row as the test follows it: its number and version, in table order.
struct Version
{
    int n = 0;
    int v = 0;
    bool operator==(const Version&) const = default;
};
using Versions = QList<Version>;

void PrintTo(const Version& row, std::ostream* out)
{
    *out << row.n << '.' << row.v;
}

// One write: a single append or update, or several in one transaction.
struct Change
{
    bool append = false; // else an update of row n to version v
    int n = 0;
    int v = 0;
};
using Write = QList<Change>;

QByteArray textOf(const Write& write)
{
    QByteArrayList changes;
    for (const Change& change : write)
        changes.append((change.append ? "A" : "U") + QByteArray::number(change.n) + '.' +
                       QByteArray::number(change.v));
    return changes.join(' ');
}

Write writeOf(const QByteArray& text)
{
    Write write;
    for (const QByteArray& change : text.split(' ')) {
        const QByteArrayList numbers = change.mid(1).split('.');
        write.append({change.startsWith('A'), numbers[0].toInt(), numbers[1].toInt()});
    }
    return write;
}

void apply(Versions& rows, const Write& write)
{
    for (const Change& change : write) {
        if (change.append) {
            rows.append({change.n, change.v});
            continue;
        }
        for (Version& row : rows) {
            if (row.n == change.n)
                row.v = change.v;
        }
    }
}

// One write() per line, so that a line is whole or missing.
void say(int out, const QByteArray& text)
{
    const QByteArray line = text + '\n';
    if (write(out, line.constData(), size_t(line.size())) != line.size())
        _exit(3);
}

// The writer's side, in the child process: it announces each write ("W"),
// does it, and acknowledges it ("D") once the table has it, until killed.
class Writer
{
public:
    Writer(const QString& path, unsigned seed, int out)
        : table_(Table::open(path)), random_(seed), out_(out)
    {
        for (const Record& record : table_.readAll()) {
            const int n = record.values[1].toInt();
            rows_.insert(n, record);
            nextNumber_ = qMax(nextNumber_, n + 1);
        }
    }

    [[noreturn]] void writeUntilKilled()
    {
        for (;;) {
            const Write write = plan();
            say(out_, "W " + textOf(write));
            const bool transaction = write.size() > 1;
            if (transaction)
                table_.beginTransaction();
            for (const Change& change : write)
                perform(change);
            if (transaction)
                table_.commit();
            say(out_, "D");
        }
    }

private:
    Change update()
    {
        const QList<int> numbers = rows_.keys();
        const int n = numbers[int(random_() % numbers.size())];
        return {false, n, rows_[n].values[2].toInt() + 1};
    }

    Write plan()
    {
        const unsigned kind = random_() % 10;
        if (kind < 4 || rows_.isEmpty())
            return {{true, nextNumber_++, 0}};
        if (kind < 8)
            return {update()};
        const Write transaction = {{true, nextNumber_, 0}, {true, nextNumber_ + 1, 0}, update()};
        nextNumber_ += 2;
        return transaction;
    }

    void perform(const Change& change)
    {
        Row row = change.append ? Row{QVariant(), change.n, 0, QVariant()} : rows_[change.n].values;
        row[2] = change.v;
        row[3] = noteFor(change.n, change.v);
        Record& record = rows_[change.n];
        if (change.append)
            record.position = table_.append(row);
        else
            table_.update(record.position, row);
        record.values = row;
    }

    Table table_;
    std::mt19937 random_;
    int out_;
    QMap<int, Record> rows_;
    int nextNumber_ = 1;
};

// The lines of a pipe as they come; none once its writer has gone.
class Lines
{
public:
    explicit Lines(int in) : in_(in) {}
    ~Lines() { close(in_); }
    Lines(const Lines&) = delete;
    Lines& operator=(const Lines&) = delete;

    std::optional<QByteArray> next()
    {
        for (;;) {
            const qsizetype end = buffer_.indexOf('\n');
            if (end >= 0) {
                const QByteArray line = buffer_.left(end);
                buffer_.remove(0, end + 1);
                return line;
            }
            char chunk[512];
            const ssize_t got = read(in_, chunk, sizeof chunk);
            if (got <= 0)
                return std::nullopt;
            buffer_.append(chunk, got);
        }
    }

private:
    int in_;
    QByteArray buffer_;
};

// Starts a writer, lets it finish a random few writes and kills it a random
// moment after. The writes it finished are applied to `finished`; the one
// it was doing comes back.
std::optional<Write> killWriterAtRandom(const QString& path, std::mt19937& random,
                                        Versions& finished)
{
    const unsigned writerSeed = random();
    const int finishedBeforeKill = int(random() % 8);
    const useconds_t delay = random() % 3000;
    int ends[2];
    if (pipe(ends) != 0) {
        ADD_FAILURE() << "no pipe";
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        try {
            Writer(path, writerSeed, ends[1]).writeUntilKilled();
        } catch (const std::exception& error) {
            say(ends[1], QByteArray("E ") + error.what());
            _exit(2);
        }
    }
    close(ends[1]);
    const auto killSoon = [&] {
        usleep(delay);
        kill(child, SIGKILL);
    };
    if (finishedBeforeKill == 0)
        killSoon();
    std::optional<Write> underWay;
    QByteArray writerError;
    int done = 0;
    Lines lines(ends[0]);
    while (const std::optional<QByteArray> line = lines.next()) {
        if (line->startsWith("W ")) {
            underWay = writeOf(line->mid(2));
            continue;
        }
        if (line->startsWith("E ")) {
            writerError = line->mid(2);
            continue;
        }
        apply(finished, *underWay);
        underWay.reset();
        if (++done == finishedBeforeKill)
            killSoon();
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the writer ended by itself, status " << status << ", during "
        << (underWay ? textOf(*underWay) : "-").toStdString() << ": "
        << (writerError.isEmpty() ? "no message" : writerError.toStdString());
    return underWay;
}

// What the table holds as the codec reads it, notes checked on the way.
Versions versionsIn(const QString& path)
{
    Versions rows;
    for (const Record& record : Table::open(path).readAll()) {
        const Version row{record.values[1].toInt(), record.values[2].toInt()};
        EXPECT_EQ(record.values[3], noteFor(row.n, row.v)) << row.n << '.' << row.v;
        rows.append(row);
    }
    return rows;
}

TEST(KilledWriter, TableKeepsEveryFinishedWriteAndAtMostTheOneUnderWay)
{
    const unsigned seed = qEnvironmentVariableIsSet("SKELVO_KILL_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("SKELVO_KILL_SEED"))
                              : 20240611u;
    std::cout << "seed " << seed << " (SKELVO_KILL_SEED)\n";
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    testsupport::TempFolder folder;
    const QString path = folder.filePath(QStringLiteral("JA3456.DB"));
    Table::create(path, Fields);

    Versions finished;
    for (int round = 1; round <= 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::optional<Write> underWay = killWriterAtRandom(path, random, finished);
        const Versions found = versionsIn(path);
        Versions withIt = finished;
        if (underWay)
            apply(withIt, *underWay);
        if (underWay && found == withIt)
            finished = withIt;
        else
            EXPECT_EQ(found, finished)
                << "under way: " << (underWay ? textOf(*underWay) : "-").toStdString();
        EXPECT_FALSE(QFile::exists(path + QStringLiteral(".journal")));
        paradoxtest::expectPxlibReadsTheSame(path);
        if (HasFailure())
            return;
    }
    EXPECT_FALSE(finished.isEmpty());
}

} // namespace
