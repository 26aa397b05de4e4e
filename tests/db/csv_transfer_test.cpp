// Logbooks through the CSV file on every store: the demo logbook out and
// back with every value equal, numbering on, the header forms, files
// refused before anything is written, and a row the store refuses.
#include "app/demo/demo_logbook.h"
#include "core/csv_format.h"
#include "core/error.h"
#include "core/log_record.h"
#include "db/csv_transfer.h"
#include "db/store_dialects.h"
#include "db/table_management.h"
#include "paradox/paradox_driver.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_fixture.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testsupport::Entry;
using testsupport::Store;

// Every value of a table in key order, as text; integers and flags read
// NULL as 0 and text reads NULL as empty, as the log table does.
QList<QStringList> tableValues(QSqlDatabase db, const QString& table)
{
    QSqlQuery query(db);
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT * FROM %1 ORDER BY ct,sb").arg(table)));
    QList<QStringList> rows;
    while (query.next()) {
        QStringList values;
        for (const LogRecord::Column& column : LogRecord::dataColumns()) {
            const QVariant value = query.value(QString(column.name));
            const bool numeric = column.kind == LogRecord::ColumnKind::Integer ||
                                 column.kind == LogRecord::ColumnKind::Flag;
            values.append(value.isNull() && numeric ? QStringLiteral("0") : value.toString());
        }
        rows.append(values);
    }
    return rows;
}

class CsvTransferTest : public testsupport::StoreTest
{
protected:
    QString csv(const char* name) { return folder_.filePath(name); }

    void writeCsv(const char* name, const QStringList& lines)
    {
        CsvFormat::writeFile(csv(name), lines);
    }

    int import(const char* name, int nextCt, ExistingRows existing = ExistingRows::Kept)
    {
        const QStringList columns = other_.database().record(table_).count() > 0
                                        ? fieldNames(other_.database().record(table_))
                                        : QStringList();
        const QString connection = store_.connectionNameOf(store_.DatabaseKind);
        const CsvTransfer::ImportFile file = CsvTransfer::readFile(
            csv(name), columns, textLimitsOf(QSqlDatabase::database(connection, false), table_));
        return CsvTransfer::appendRows(connection, table_, file, nextCt, {}, existing);
    }

    static QStringList fieldNames(const QSqlRecord& record)
    {
        QStringList names;
        for (int i = 0; i < record.count(); ++i)
            names.append(record.fieldName(i));
        return names;
    }

    QList<int> storedCts()
    {
        QList<int> cts;
        for (const auto& entry : stored()) {
            EXPECT_EQ(entry.sb, 0);
            cts.append(entry.ct);
        }
        return cts;
    }
};

TEST_P(CsvTransferTest, TheDemoLogbookMovesThroughCsvWithEveryValueEqual)
{
    // The demo logbook with a remark no hand-quoting survives.
    const QString demo = folder_.filePath("demo");
    DemoLogbook::create(demo, SKELVO_SOURCE_DIR "/commands");
    ParadoxDriver::registerDriver();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, "demo");
        db.setDatabaseName(demo);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        query.prepare("INSERT INTO JA2401 (ct, sb, crew, remarks) VALUES (99, 0, ?, ?)");
        query.addBindValue(QStringLiteral("a, b"));
        query.addBindValue(QStringLiteral("it's \"q\" C:\\logs\\ true\\"));
        ASSERT_TRUE(query.exec());
    }
    int progressSteps = 0, lastStep = 0;
    EXPECT_EQ(CsvTransfer::writeFile(
                  "demo", "JA2401", csv("demo.csv"),
                  {[&](int steps) { progressSteps = steps; }, [&](int done) { lastStep = done; }}),
              8);
    EXPECT_EQ(progressSteps, 8);
    EXPECT_EQ(lastStep, 8);
    const QList<QStringList> source = tableValues(QSqlDatabase::database("demo"), "JA2401");
    QSqlDatabase::database("demo").close();
    QSqlDatabase::removeDatabase("demo");

    EXPECT_EQ(import("demo.csv", 1), 8);
    EXPECT_EQ(tableValues(other_.database(), table_), source);
    EXPECT_EQ(storedCts(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

// An export that fails part-way leaves the old file; one that finishes
// replaces it, written again as UTF-8 when a text has no CP932 form.
TEST_P(CsvTransferTest, AnExportReplacesTheFileOnlyWhenDone)
{
    seed({{1, 0, "a"}, {2, 0, paradox() ? "b" : "caf\u00e9"}});
    writeCsv("out.csv", {"old"});
    const QString connection = store_.connectionNameOf(store_.DatabaseKind);
    const auto fileLines = [&] {
        QFile file(csv("out.csv"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return CsvFormat::readLines(file.readAll());
    };
    const TransferProgress failing{{}, [](int done) {
                                       if (done == 2)
                                           throw SkelvoError("stopped");
                                   }};
    EXPECT_THROW(CsvTransfer::writeFile(connection, table_, csv("out.csv"), failing), SkelvoError);
    EXPECT_EQ(fileLines(), QStringList{"old"});

    int lastStep = 0;
    EXPECT_EQ(CsvTransfer::writeFile(connection, table_, csv("out.csv"),
                                     {{}, [&](int done) { lastStep = done; }}),
              2);
    EXPECT_EQ(lastStep, 2);
    const QStringList lines = fileLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(CsvFormat::splitLine(lines[2]).value(4), paradox() ? "b" : "caf\u00e9");
}

TEST_P(CsvTransferTest, RowsNumberOnFromTheLastWhateverTheHeader)
{
    seed({{1, 0, "a"}, {5, 0, "b"}});
    QStringList values(40);
    values[0] = "AB12";
    values[4] = QStringLiteral("山田　太郎");
    const QString row = CsvFormat::formatLine(values);
    QStringList capitals = CsvTransfer::dataColumnNames();
    for (QString& name : capitals)
        name = name.toUpper();
    writeCsv("capitals.csv", {CsvFormat::formatLine(capitals), row, row});
    writeCsv("plain.csv", {row});
    QStringList old = CsvTransfer::dataColumnNames();
    old.removeLast(); // no glider, as old tables are written
    QStringList oldRow = values.mid(0, 39);
    writeCsv("old.csv", {CsvFormat::formatLine(old), CsvFormat::formatLine(oldRow)});

    int next = TableManagement::NextCtAfterLastRow(store_);
    EXPECT_EQ(next, 6);
    next += import("capitals.csv", next);
    next += import("plain.csv", next);
    import("old.csv", next);

    EXPECT_EQ(storedCts(), (QList<int>{1, 5, 6, 7, 8, 9}));
    EXPECT_EQ(storedText("crew", "ct = 9"), QStringLiteral("山田　太郎"));
    // Empty integers and flags are stored as 0, empty text as empty.
    EXPECT_EQ(storedText("pageno", "ct = 6"), "0");
    EXPECT_EQ(storedText("airworthiness", "ct = 8"), "0");
    EXPECT_EQ(storedText("remarks", "ct = 6"), "");
}

TEST_P(CsvTransferTest, ARowTheStoreRefusesStopsTheImportThere)
{
    QStringList good(40), bad(40);
    good[1] = "2010";
    bad[3] = "p.12"; // not a page number: every store refuses it
    writeCsv("bad.csv",
             {CsvFormat::formatLine(CsvTransfer::dataColumnNames()), CsvFormat::formatLine(good),
              CsvFormat::formatLine(bad), CsvFormat::formatLine(good)});
    try {
        import("bad.csv", 1);
        FAIL() << "the page number was taken";
    } catch (const SkelvoError& error) {
        EXPECT_TRUE(error.message().startsWith("3 行目")) << error.message().toStdString();
    }
    EXPECT_EQ(storedCts(), QList<int>{1});
}

// A value longer than its column refuses the whole file, naming the line
// and the column, before anything is written.
TEST_P(CsvTransferTest, AValueLongerThanItsColumnRefusesTheWholeFile)
{
    seed({{1, 0, "a"}});
    QStringList fits(40), over(40);
    fits[4] = QString(paradox() ? 127 : 255, u'山');
    over[4] = fits[4] + u'山';
    writeCsv("long.csv", {CsvFormat::formatLine(CsvTransfer::dataColumnNames()),
                          CsvFormat::formatLine(fits), CsvFormat::formatLine(over)});
    try {
        import("long.csv", 2);
        FAIL() << "the long crew was taken";
    } catch (const SkelvoError& error) {
        EXPECT_TRUE(error.message().startsWith("3 行目: 列「crew」"))
            << error.message().toStdString();
    }
    EXPECT_EQ(storedCts(), QList<int>{1});
}

// Replacing the table's rows is all or nothing: an import refused part-way,
// or killed part-way, leaves the old rows; one that finishes, the file's.
TEST_P(CsvTransferTest, AnImportThatReplacesTheRowsKeepsThemUntilItIsDone)
{
    seed({{1, 0, "old"}, {2, 0, "old"}});
    const QList<Entry> old = stored();
    const QString header = CsvFormat::formatLine(CsvTransfer::dataColumnNames());
    QStringList good(40), bad(40);
    good[4] = "new";
    bad[3] = "p.12"; // not a page number: every store refuses it
    writeCsv("bad.csv", {header, CsvFormat::formatLine(good), CsvFormat::formatLine(bad)});
    EXPECT_THROW(import("bad.csv", 1, ExistingRows::Replaced), SkelvoError);
    EXPECT_EQ(stored(), old);

    QStringList lines{header};
    for (int row = 0; row < 2000; ++row)
        lines.append(CsvFormat::formatLine(good));
    writeCsv("long.csv", lines);
    store_.DisconnectDatabase(); // the child connects for itself
    const pid_t child = fork();
    if (child == 0) {
        try {
            store_.ConnectDatabase();
            CsvTransfer::appendRows(store_.connectionNameOf(store_.DatabaseKind), table_,
                                    CsvTransfer::readFile(csv("long.csv"), {}), 1,
                                    {{},
                                     [](int done) {
                                         if (done == 1000)
                                             raise(SIGKILL);
                                     }},
                                    ExistingRows::Replaced);
        } catch (const SkelvoError& error) {
            std::fprintf(stderr, "the import failed: %s\n", qPrintable(error.message()));
        }
        _exit(2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    EXPECT_EQ(stored(), old);

    store_.ConnectDatabase();
    writeCsv("good.csv", {header, CsvFormat::formatLine(good)});
    EXPECT_EQ(import("good.csv", 1, ExistingRows::Replaced), 1);
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "new"}}));
}

INSTANTIATE_TEST_SUITE_P(Stores, CsvTransferTest, testsupport::allStores(),
                         testsupport::storeTestName);

// Files that would fail part-way are refused whole, naming the line.
TEST(CsvImportFile, FilesThatWouldFailAreRefusedNamingTheLine)
{
    testsupport::TempFolder folder;
    const QString header = CsvFormat::formatLine(CsvTransfer::dataColumnNames());
    const QString row = QStringList(40).join(u',');
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* line;
        bool columnsKnown = true;
    } cases[] = {
        {"empty line", (header + "\r\n" + row + "\r\n\r\n" + row + "\r\n").toUtf8(), "3 行目"},
        {"unknown column", "callsign,yyyy,wingspan\r\n", "1 行目"},
        {"column no statement carries, the table's unknown",
         "callsign,crew) SELECT ct,sb,callsign,crew FROM v -- \r\nA,B,C,D,E\r\n", "1 行目", false},
        {"too many values", (header + "\r\n" + row + ",x\r\n").toUtf8(), "2 行目"},
        {"too few values", "callsign,yyyy\r\nJA1\r\n", "2 行目"},
        {"not CP932", "callsign\r\nJA1\r\n\x82\xFF\r\n", "3 行目"},
        {"NUL in a value", QByteArray("callsign\r\n\"JA\0001\"\r\n", 18), "2 行目: 列「callsign」"},
    };
    const QStringList tableColumns = QStringList{"id", "ct", "sb"} + CsvTransfer::dataColumnNames();
    for (const auto& c : cases) {
        QFile file(folder.filePath("f.csv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        try {
            CsvTransfer::readFile(file.fileName(), c.columnsKnown ? tableColumns : QStringList());
            ADD_FAILURE() << c.name << " was taken";
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().startsWith(QString::fromUtf8(c.line)))
                << c.name << ": " << error.message().toStdString();
        }
    }
}

} // namespace
