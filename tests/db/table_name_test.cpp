// Table names that the stores' statements cannot carry as they stand: new
// ones are refused before anything is created; tables another program made
// under such a name still open, take changes and drop; a name made to reach
// another table reaches only the table of that very name, or is refused.
// Runs over each store.
#include "core/csv_format.h"
#include "core/error.h"
#include "data/data_set.h"
#include "db/csv_transfer.h"
#include "db/table_management.h"
#include "tests/testsupport/store_fixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <functional>
#include <gtest/gtest.h>

using testsupport::commandFile;
using testsupport::Entry;

namespace {

class TableNameTest : public testsupport::StoreTest
{
protected:
    void TearDown() override
    {
        if (!paradox() && !spaced_.isEmpty())
            QSqlQuery(other_.database()).exec(QStringLiteral("DROP TABLE IF EXISTS ") + quoted());
    }

    // The fixture's table name with a blank and more, unique to the test.
    QString spacedName(const char* suffix)
    {
        spaced_ = table_ + QLatin1Char(' ') + QLatin1StringView(suffix);
        return spaced_;
    }
    QString quoted() const { return paradox() ? u'"' + spaced_ + u'"' : u'`' + spaced_ + u'`'; }
    bool tableExists(const QString& name)
    {
        return other_.database().tables().contains(name, Qt::CaseInsensitive);
    }

    QString spaced_;
};

TEST_P(TableNameTest, NewNameTheStatementsCannotCarryIsRefusedBeforeAnythingIsMade)
{
    for (const QString& typed : {spacedName("new"), table_ + "-x", table_ + "'x", table_ + "%1"}) {
        SCOPED_TRACE(typed.toStdString());
        try {
            TableManagement::CreateLogTable(store_, typed,
                                            QStringLiteral(SKELVO_SOURCE_DIR "/commands"));
            ADD_FAILURE() << "created";
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("半角の英字"))) << error.what();
            EXPECT_TRUE(error.message().contains(u'「' + typed + u'」')) << error.what();
        }
        EXPECT_FALSE(tableExists(typed));
    }
}

TEST_P(TableNameTest, TableAnotherProgramNamedWithABlankOpensTakesChangesAndDrops)
{
    const QString name = spacedName("old");
    exec(TableManagement::prepareCommand(
        commandFile(paradox() ? "CreateTable.PRDX" : "CreateTable.MYSQL"),
        paradox() ? name : quoted()));
    table_ = quoted(); // where the fixture's other client puts and reads rows
    seed({{1, 0, "a"}, {2, 0, "b"}});

    store_.TableName = name;
    open();
    EXPECT_EQ(rows().recordCount(), 2);
    // The columns a CSV file's header is checked against, asked for as the
    // settings window asks (the ODBC connector lists none for any table).
    if (GetParam() != testsupport::Store::Odbc) {
        EXPECT_EQ(QSqlDatabase::database(store_.connectionNameOf(store_.DatabaseKind), false)
                      .record(store_.sqlTableName(name))
                      .count(),
                  rows().fieldCount());
    }
    // Rows found by their store number; the number left to the store.
    rows().setFieldFlags(u"id", {false, true, true});
    rows().setFieldFlags(u"ct", {true, true, true});
    rows().setFieldFlags(u"sb", {true, true, true});
    rows().setWhereMode(WhereMode::KeyOnly);
    rows().edit();
    rows().setValue(u"crew", "A");
    rows().post();
    rows().last();
    rows().remove();
    EXPECT_EQ(rows().recordCount(), 1);
    rows().append();
    for (const auto& [field, value] :
         {std::pair<const char16_t*, QVariant>{u"ct", 3}, {u"sb", 0}, {u"crew", "c"}})
        rows().setValue(field, value);
    rows().post();
    send();
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "A"}, {3, 0, "c"}}));

    TableManagement::EmptyLogTable(store_);
    EXPECT_TRUE(stored().isEmpty());

    TableManagement::DropLogTable(store_, name);
    EXPECT_FALSE(tableExists(name));
}

INSTANTIATE_TEST_SUITE_P(Stores, TableNameTest, testsupport::allStores(),
                         testsupport::storeTestName);

// Names aimed at the victim, a table holding one row: each ends the quoted
// name early, or looks already quoted, or names the victim in its database.
// Where the store can hold such a name, a table of that very name holds a
// row of its own; the program's statements must reach that table (or refuse
// the name, naming it), never the victim.
class AimedNameTest : public testsupport::StoreTest
{
protected:
    void TearDown() override
    {
        if (paradox())
            return;
        const QStringList tables = names() << victim_;
        for (const QString& name : tables)
            QSqlQuery(other_.database())
                .exec(QStringLiteral("DROP TABLE IF EXISTS ") + quote(name));
    }

    QStringList names() const
    {
        const QString v = victim_;
        return {v + "` WHERE 0 UNION SELECT * FROM `" + v,
                v + "\" WHERE 0 UNION SELECT * FROM \"" + v, u'`' + v + u'`', u'"' + v + u'"',
                qEnvironmentVariable("SKELVO_TEST_MYSQL_DATABASE") + u'.' + v};
    }

    // As the other client's statements carry the name.
    QString quote(QString name) const
    {
        const QChar mark = paradox() ? u'"' : u'`';
        return mark + name.replace(mark, QString(2, mark)) + mark;
    }

    bool exists(const QString& name)
    {
        return other_.database().tables().contains(name, Qt::CaseInsensitive);
    }

    QList<Entry> rowsOf(const QString& name)
    {
        const QString kept = std::exchange(table_, quote(name));
        const QList<Entry> rows = stored();
        table_ = kept;
        return rows;
    }

    void seedInto(const QString& name, const char* crew)
    {
        const QString kept = std::exchange(table_, quote(name));
        seed({{1, 0, crew}});
        table_ = kept;
    }

    // The victim afresh, and the table of the name where the store can hold
    // it (every name on a server; no file name holds '"' or '*'). Whether
    // it could.
    bool prepare(const QString& name)
    {
        const auto make = [this](const QString& table) {
            return QSqlQuery(other_.database())
                .exec(TableManagement::prepareCommand(
                    commandFile(paradox() ? "CreateTable.PRDX" : "CreateTable.MYSQL"),
                    paradox() ? table : quote(table)));
        };
        if (exists(victim_))
            exec(QStringLiteral("DELETE FROM ") + quote(victim_));
        else
            EXPECT_TRUE(make(victim_));
        seedInto(victim_, "victim");
        const bool held = make(name);
        EXPECT_TRUE(held || paradox());
        if (held)
            seedInto(name, "own");
        return held;
    }

    void expectVictimUnharmed()
    {
        EXPECT_TRUE(exists(victim_));
        EXPECT_EQ(rowsOf(victim_), (QList<Entry>{{1, 0, "victim"}}));
    }

    // A step on a table the store cannot hold fails with an error naming it.
    void step(const char* what, bool held, const QString& name, const std::function<void()>& work)
    {
        SCOPED_TRACE(what);
        try {
            work();
            EXPECT_TRUE(held) << "a table that cannot exist was reached";
        } catch (const SkelvoError& error) {
            EXPECT_FALSE(held) << error.what();
            EXPECT_TRUE(error.message().contains(name)) << error.what();
        }
        expectVictimUnharmed();
    }

    QString connection() const { return store_.connectionNameOf(store_.DatabaseKind); }

    const QString victim_ = QStringLiteral("v%1").arg(QCoreApplication::applicationPid());
};

TEST_P(AimedNameTest, ReadingShowsOnlyTheTableOfThatName)
{
    const QString csv = folder_.filePath("out.csv");
    for (const QString& name : names()) {
        SCOPED_TRACE(name.toStdString());
        const bool held = prepare(name);
        store_.TableName = name;
        step("open", held, name, [&] {
            if (!store_.OpenLogTable())
                throw SkelvoError(QStringLiteral("not opened: ") + name);
            EXPECT_EQ(crewsInOrder(), QList<QString>{"own"});
            store_.CloseLogTable();
        });
        step("export", held, name, [&] {
            EXPECT_EQ(CsvTransfer::writeFile(connection(), name, csv, {}), 1);
            QFile file(csv);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray text = file.readAll();
            EXPECT_TRUE(text.contains("own") && !text.contains("victim")) << text.toStdString();
        });
    }
}

TEST_P(AimedNameTest, ChangesReachOnlyTheTableOfThatName)
{
    const QString csv = folder_.filePath("in.csv");
    CsvFormat::writeFile(csv, {"callsign,crew", "X,csv"});
    const CsvTransfer::ImportFile file = CsvTransfer::readFile(csv, {});
    for (const QString& name : names()) {
        SCOPED_TRACE(name.toStdString());
        const bool held = prepare(name);
        store_.TableName = name;
        const bool opened = store_.OpenLogTable();
        EXPECT_EQ(opened, held);
        if (opened) {
            rows().setFieldFlags(u"id", {false, true, true});
            rows().setWhereMode(WhereMode::KeyOnly);
            rows().edit();
            rows().setValue(u"crew", "changed");
            rows().post();
            rows().append();
            for (const auto& [field, value] :
                 {std::pair<const char16_t*, QVariant>{u"ct", 2}, {u"sb", 0}, {u"crew", "new"}})
                rows().setValue(field, value);
            rows().post();
            rows().first();
            rows().remove();
            send();
            store_.CloseLogTable();
            EXPECT_EQ(rowsOf(name), (QList<Entry>{{2, 0, "new"}}));
        }
        expectVictimUnharmed();
        step("import", held, name, [&] {
            CsvTransfer::appendRows(connection(), name, file, 5, {}, ExistingRows::Replaced);
            EXPECT_EQ(rowsOf(name), (QList<Entry>{{5, 0, "csv"}}));
        });
        step("empty", held, name, [&] {
            TableManagement::EmptyLogTable(store_);
            EXPECT_TRUE(rowsOf(name).isEmpty());
        });
        step("drop", held, name, [&] {
            TableManagement::DropLogTable(store_, name);
            EXPECT_FALSE(exists(name));
        });
        store_.ConnectDatabase();
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, AimedNameTest, testsupport::allStores(),
                         testsupport::storeTestName);

} // namespace
