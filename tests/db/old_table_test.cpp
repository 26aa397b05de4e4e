// Tables of the older edition, written by pxlib: recognised by their first
// fields, exported as CSV with only logical fields turned into 1/0, and
// transferred into the log table of every store.
#include "app/demo/demo_logbook.h"
#include "core/csv_format.h"
#include "core/log_record.h"
#include "data/data_set.h"
#include "db/csv_transfer.h"
#include "db/old_table.h"
#include "db/table_file.h"
#include "db/table_management.h"
#include "paradox/paradox_sql.h"
#include "tests/testsupport/old_edition_table.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_fixture.h"

#include <QFile>

namespace {

using pxwrite::writeOldEditionTable;

TEST(OldTables, AreRecognisedByTheirFirstTwoFields)
{
    testsupport::TempFolder folder;
    DataSet table1;
    openTableFile(table1, writeOldEditionTable(folder.filePath("OLD.DB"), false, 1));
    EXPECT_TRUE(OldTable::isOldTable(table1));
    EXPECT_EQ(table1.fieldCount(), 40);
    table1.close();

    paradox::SqlEngine engine(folder.path());
    engine.execute(TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"), "ab12"));
    openTableFile(table1, folder.filePath("ab12.DB"));
    EXPECT_FALSE(OldTable::isOldTable(table1));
}

TEST(OldTables, TheCsvExportTurnsOnlyLogicalFieldsIntoDigits)
{
    testsupport::TempFolder folder;
    const struct
    {
        const char* name;
        bool powerTime;
        int rows;
    } tables[] = {{"OLD40.DB", false, 2}, {"OLD41.DB", true, 1}, {"EMPTY.DB", false, 0}};
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        DataSet table1;
        openTableFile(table1, writeOldEditionTable(folder.filePath(t.name), t.powerTime, t.rows));
        const QString csv = folder.filePath("old.csv");
        EXPECT_EQ(OldTable::writeCsvFile(table1, "ab12", csv, {}), t.rows);

        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = CsvFormat::readLines(file.readAll());
        ASSERT_EQ(lines.size(), t.rows + 1);
        QStringList header = CsvTransfer::dataColumnNames();
        if (!t.powerTime)
            header.removeLast();
        EXPECT_EQ(CsvFormat::splitLine(lines[0]), header);
        for (int row = 1; row <= t.rows; ++row) {
            const QStringList values = CsvFormat::splitLine(lines[row]);
            ASSERT_EQ(values.size(), header.size());
            EXPECT_EQ(values[0], "AB12");
            EXPECT_EQ(values[header.indexOf("crew")], QStringLiteral("山田太郎"));
            EXPECT_EQ(values[header.indexOf("pageno")], "");
            EXPECT_EQ(values[header.indexOf("ovh")], "1");
            EXPECT_EQ(values[header.indexOf("printed")], "0");
            EXPECT_EQ(values[header.indexOf("remarks")], "true") << "text stays text";
            EXPECT_EQ(values[header.indexOf("e_pageno")], "3");
            if (t.powerTime) {
                EXPECT_EQ(values.last(), "1:05");
            }
        }
    }
}

TEST(OldTables, AnOldTableJoinsTheDemoLogbook)
{
    testsupport::TempFolder folder;
    DemoLogbook::create(folder.filePath("demo"), SKELVO_SOURCE_DIR "/commands");
    StoreConnections demo;
    demo.DatabaseKind = ParadoxStore;
    demo.DatabaseName = folder.filePath("demo");
    demo.TableName = DemoLogbook::TableName;
    demo.ConnectDatabase();
    ASSERT_TRUE(demo.IsConnected);
    DataSet table1;
    openTableFile(table1, writeOldEditionTable(folder.filePath("OLD.DB"), true, 3));
    const int next = TableManagement::NextCtAfterLastRow(demo);
    EXPECT_EQ(OldTable::transfer(table1, demo.connectionNameOf(ParadoxStore),
                                 DemoLogbook::TableName, next, {}),
              3);
    ASSERT_TRUE(demo.OpenLogTable());
    DataSet& rows = *demo.CurrentDataSet();
    EXPECT_EQ(rows.recordCount(), 7 + 3);
    rows.last();
    EXPECT_EQ(rows.asInteger(u"ct"), next + 2);
    EXPECT_EQ(rows.asString(u"crew"), QStringLiteral("山田太郎"));
    EXPECT_EQ(rows.asString(u"callsign"), "JA2401");
}

class OldTableTransferTest : public testsupport::StoreTest
{
};

TEST_P(OldTableTransferTest, RowsArriveConvertedAndNumberedOn)
{
    DataSet table1;
    openTableFile(table1, writeOldEditionTable(folder_.filePath("OLD41.DB"), true, 2));
    EXPECT_EQ(
        OldTable::transfer(table1, store_.connectionNameOf(store_.DatabaseKind), table_, 1, {}), 2);
    table1.close();
    openTableFile(table1, writeOldEditionTable(folder_.filePath("OLD40.DB"), false, 1));
    const int next = TableManagement::NextCtAfterLastRow(store_);
    EXPECT_EQ(next, 3);
    OldTable::transfer(table1, store_.connectionNameOf(store_.DatabaseKind), table_, next, {});

    QList<int> cts;
    for (const auto& entry : stored())
        cts.append(entry.ct * 10 + entry.sb);
    EXPECT_EQ(cts, (QList<int>{10, 20, 30}));
    EXPECT_EQ(storedText("callsign", "ct = 1"), table_.toUpper());
    EXPECT_EQ(storedText("remarks", "ct = 1"), "true");
    EXPECT_EQ(storedText("ovh", "ct = 1"), "1");
    EXPECT_EQ(storedText("printed", "ct = 1"), "0");
    EXPECT_EQ(storedText("pageno", "ct = 1"), "0");
    EXPECT_EQ(storedText("blocktime", "ct = 1"), "0:40");
    EXPECT_EQ(storedText("glider", "ct = 2"), "1:05");
    EXPECT_EQ(storedText("glider", "ct = 3"), "") << "no power time: the column's default";
}

// Each old field lands in its own column: every field holds a value no other
// one holds, and each column is checked.
TEST_P(OldTableTransferTest, EveryOldFieldLandsInItsOwnColumn)
{
    DataSet table1;
    openTableFile(table1, pxwrite::writeDistinctOldEditionTable(folder_.filePath("ALL.DB")));
    OldTable::transfer(table1, store_.connectionNameOf(store_.DatabaseKind), table_, 1, {});
    table1.first();
    const auto columns = LogRecord::dataColumns();
    for (int field = 2; field < table1.fieldCount(); ++field) {
        const QVariant old = table1.value(table1.fieldNames()[field]);
        const QString expected =
            old.typeId() == QMetaType::Bool ? (old.toBool() ? "1" : "0") : old.toString();
        const QString column(columns[size_t(field) - 1].name);
        EXPECT_EQ(storedText(column, "ct = 1"), expected)
            << table1.fieldNames()[field].toStdString() << " -> " << column.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, OldTableTransferTest, testsupport::allStores(),
                         testsupport::storeTestName);

} // namespace
