// The four routines that change the log a row at a time, on every store:
// the keys and defaults a new row gets, where it lands once the table is
// read again, and that a cancelled or refused change writes nothing.
#include "calc/entry_routines.h"
#include "core/error.h"
#include "data/data_set.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_fixture.h"
#include "ui/message_box.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <gtest/gtest.h>

namespace {

using testsupport::Entry;
using testsupport::Store;
using Routine = bool (*)(DataSet&, EntryRoutineContext&);

class EntryRoutines : public testsupport::StoreTest
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        MessageBox::setTestMode(true);
        StoreTest::SetUp();
        context_.today = QDate(2024, 3, 5);
        context_.zeroIdOnNewRows = GetParam() == Store::MariaDb;
        // The user types a crew and an arrival place; no crew cancels.
        context_.showEntryDialog = [this](const std::function<void()>& save) {
            offered_.append(context_.DefaultYear + '/' + context_.DefaultMonthDay);
            if (typed_.isEmpty())
                return false;
            rows().setValue(u"crew", typed_);
            rows().setValue(u"arrive", typed_.toUpper());
            save();
            return true;
        };
        // As the main window refreshes: closed, disconnected, opened again.
        context_.refreshTable = [this] {
            ++refreshes_;
            rows().close();
            store_.CloseLogTable();
            store_.DisconnectDatabase();
            store_.ConnectDatabase();
            open();
        };
    }
    void TearDown() override { MessageBox::setTestMode(false); }

    // A row of 2023 arriving at its crew in upper case.
    void put(int ct, int sb, const QString& crew, const char* mmdd)
    {
        exec(QStringLiteral("INSERT INTO %1 (ct, sb, crew, yyyy, mmdd, arrive) "
                            "VALUES (%2, %3, '%4', '2023', '%5', '%6')")
                 .arg(table_)
                 .arg(ct)
                 .arg(sb)
                 .arg(crew, mmdd, crew.toUpper()));
    }

    // Runs a routine and sends what it left held, as the recalculation that
    // follows it would.
    bool run(Routine routine, const QString& crew)
    {
        typed_ = crew;
        const bool changed = routine(rows(), context_);
        send();
        return changed;
    }

    // The stored rows in key order, their cells joined by '|'.
    QStringList storedRows(const QString& columns)
    {
        QSqlQuery query(other_.database());
        EXPECT_TRUE(query.exec(
            QStringLiteral("SELECT %1 FROM %2 ORDER BY ct, sb, id").arg(columns, table_)));
        QStringList result;
        while (query.next()) {
            QStringList cells;
            for (int i = 0; i < query.record().count(); ++i)
                cells.append(query.value(i).toString());
            result.append(cells.join('|'));
        }
        return result;
    }

    EntryRoutineContext context_;
    QString typed_;
    QStringList offered_;
    int refreshes_ = 0;
};

TEST_P(EntryRoutines, AppendAndEditWriteKeysAndDates)
{
    open();
    ASSERT_TRUE(run(AppendEntry, "a")); // an empty table: today, no departure
    ASSERT_TRUE(run(AppendEntry, "b"));
    EXPECT_EQ(rows().asString(u"crew"), "b");
    rows().first();
    ASSERT_TRUE(run(EditEntry, "a2"));
    EXPECT_EQ(storedRows("ct, sb, yyyy, mmdd, depart, crew"),
              (QStringList{"1|0|2024|0305||a2", "2|0|2024|0305|A|b"}));
    EXPECT_EQ(refreshes_, 0);
}

TEST_P(EntryRoutines, InsertedRowsStandWhereTheyWereInserted)
{
    put(1, 0, "a", "0101");
    put(4, 0, "b", "0601");
    put(5, 0, "c", "0701");
    open();
    const struct
    {
        int recNo; // current when inserting
        const char* crew;
        const char* current; // afterwards
    } steps[] = {
        {3, "x", "x"}, // (4,1) from b
        {4, "y", "y"}, // (4,2) from x
        {3, "z", "z"}, // (4,1) from b again: x and y make room
        {1, "w", "a"}, // (1,1) after the opening row, with today's date
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.crew);
        rows().setRecNo(step.recNo);
        ASSERT_TRUE(run(InsertEntry, step.crew));
        EXPECT_EQ(rows().recNo(), step.recNo);
        EXPECT_EQ(rows().asString(u"crew"), step.current);
    }
    EXPECT_EQ(refreshes_, 4);
    EXPECT_EQ(offered_, (QStringList{"2023/0601", "2023/0601", "2023/0601", "2024/0305"}));
    EXPECT_EQ(storedRows("ct, sb, mmdd, depart, crew"),
              (QStringList{"1|0|0101||a", "1|1|0305||w", "4|0|0601||b", "4|1|0601|B|z",
                           "4|2|0601|B|x", "4|3|0601|X|y", "5|0|0701||c"}));
    EXPECT_EQ(crewsInOrder(), (QList<QString>{"a", "w", "b", "z", "x", "y", "c"}));
}

TEST_P(EntryRoutines, CancelledDialogsWriteNothing)
{
    seed({{1, 0, "a"}, {2, 0, "b"}});
    open();
    for (Routine routine : {InsertEntry, AppendEntry, EditEntry}) {
        rows().setRecNo(2);
        EXPECT_FALSE(run(routine, {}));
        EXPECT_EQ(rows().state(), DataSet::State::Browse);
        EXPECT_EQ(rows().recordCount(), 2);
        EXPECT_EQ(rows().asString(u"crew"), "b");
    }
    EXPECT_EQ(offered_.size(), 3);
    EXPECT_EQ(refreshes_, 0);
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "a"}, {2, 0, "b"}}));
}

TEST_P(EntryRoutines, DeleteRefusesTheOpeningRowAndAsksBeforeAnyOther)
{
    open();
    EXPECT_FALSE(DeleteEntry(rows(), context_)); // an empty table: nothing to ask
    seed({{1, 0, "a"}, {2, 0, "b"}, {3, 0, "c"}});
    open();
    EXPECT_FALSE(DeleteEntry(rows(), context_));
    rows().setRecNo(2);
    MessageBox::answerNext(false);
    EXPECT_FALSE(DeleteEntry(rows(), context_));
    MessageBox::answerNext(true);
    EXPECT_TRUE(DeleteEntry(rows(), context_));

    QStringList boxes;
    for (const MessageBox::Recorded& box : MessageBox::takeRecorded())
        boxes.append((box.kind == MessageBox::Kind::Warning ? "! " : "? ") + box.text);
    EXPECT_EQ(boxes, (QStringList{"! このデータは削除できません", "? レコードを削除しますか？",
                                  "? レコードを削除しますか？"}));
    send();
    EXPECT_EQ(rows().asString(u"crew"), "c");
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "a"}, {3, 0, "c"}}));
}

TEST_P(EntryRoutines, ARefusedSaveKeepsTheRowAsTypedUntilCorrectedOrCancelled)
{
    seed({{1, 0, "a"}, {2, 0, "b"}});
    open();
    int page = 10; // one of its own for each save
    for (Routine routine : {AppendEntry, InsertEntry, EditEntry}) {
        for (bool retry : {false, true}) {
            ++page;
            SCOPED_TRACE(testing::Message() << (routine == EditEntry     ? "edit"
                                                : routine == InsertEntry ? "insert"
                                                                         : "append")
                                            << (retry ? ", corrected" : ", cancelled"));
            rows().setRecNo(2);
            const QList<Entry> before = stored();
            struct
            {
                DataSet::State state = DataSet::State::Inactive;
                QString crew;
                int held = -1;
            } refused;
            context_.showEntryDialog = [&](const std::function<void()>& save) {
                rows().setValue(u"crew", "x");
                rows().setValue(u"pageno", "not a number");
                EXPECT_THROW(save(), SkelvoError);
                refused = {rows().state(), rows().asString(u"crew"), rows().changeCount()};
                if (!retry)
                    return false;
                rows().setValue(u"pageno", page);
                save();
                return true;
            };
            EXPECT_EQ(routine(rows(), context_), retry);
            EXPECT_EQ(refused.state,
                      routine == EditEntry ? DataSet::State::Edit : DataSet::State::Insert);
            EXPECT_EQ(refused.crew, "x");
            EXPECT_EQ(refused.held, 0); // nothing the table lacks waits to be sent
            EXPECT_EQ(rows().state(), DataSet::State::Browse);
            EXPECT_EQ(rows().changeCount(), 0);
            if (!retry) {
                EXPECT_EQ(stored(), before);
            }
            EXPECT_EQ(storedText("crew", QStringLiteral("pageno = %1").arg(page)),
                      retry ? "x" : "<no row>");
            // The row-set holds exactly what the table holds.
            QList<QString> crews;
            for (const Entry& entry : stored())
                crews.append(entry.crew);
            EXPECT_EQ(crewsInOrder(), crews);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, EntryRoutines, testsupport::allStores(),
                         testsupport::storeTestName);

} // namespace
