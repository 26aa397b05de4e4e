#include "calc/partial_range.h"
#include "data/data_set.h"
#include "paradox/paradox_driver.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

TEST(PartialRange, MarksAndTheirSwapRule)
{
    const struct
    {
        PartialRange before;
        bool start; // a start mark, else an end mark
        int recNo;
        PartialRange after;
    } cases[] = {
        {{0, 0}, true, 3, {3, 0}},  {{0, 0}, false, 5, {0, 5}}, {{3, 0}, false, 5, {3, 5}},
        {{3, 5}, true, 7, {3, 7}}, // a start after the end extends the range
        {{3, 5}, true, 4, {4, 5}},  {{5, 0}, false, 2, {2, 5}}, // an end before the start swaps
        {{5, 8}, false, 2, {2, 5}}, {{5, 8}, false, 5, {5, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before.PartStart << ',' << c.before.PartEnd
                                        << (c.start ? " start " : " end ") << c.recNo);
        PartialRange range = c.before;
        c.start ? range.markStart(c.recNo) : range.markEnd(c.recNo);
        EXPECT_EQ(range.PartStart, c.after.PartStart);
        EXPECT_EQ(range.PartEnd, c.after.PartEnd);
    }
}

TEST(PartialRange, RowsDrawnAsTheRange)
{
    const struct
    {
        PartialRange range;
        int first, last; // the rows drawn
    } cases[] = {
        {{3, 5}, 3, 5},
        {{3, 0}, 3, 3}, // a mark alone draws its own row only
        {{0, 4}, 4, 4},
    };
    for (const auto& c : cases)
        for (int recNo = 1; recNo <= 6; ++recNo)
            EXPECT_EQ(c.range.contains(recNo), recNo >= c.first && recNo <= c.last)
                << c.range.PartStart << ',' << c.range.PartEnd << " row " << recNo;
}

class PartialSumTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication();
        ParadoxDriver::registerDriver();
        QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, "range rows");
        db.setDatabaseName(folder_.path());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(
            "CREATE TABLE \"t.DB\" (ct INTEGER, blocktime CHAR(16), flighttime CHAR(16))"));
        const char* times[][2] = {
            {"", ""}, {"1:10", "1:00"}, {"0:40", "0:30"}, {"2:05", "1:55"}, {"x:10", "0:20"}};
        for (int i = 0; i < 5; ++i)
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO t VALUES (%1, '%2', '%3')")
                                       .arg(i + 1)
                                       .arg(times[i][0], times[i][1])));
        rows_.setConnectionName("range rows");
        rows_.setCommandText("SELECT * FROM t ORDER BY ct");
        rows_.open();
    }
    void TearDown() override
    {
        rows_.close();
        QSqlDatabase::removeDatabase("range rows");
    }

    testsupport::TempFolder folder_;
    DataSet rows_;
};

TEST_F(PartialSumTest, SumsTheMarkedRowsAndKeepsTheCurrentRow)
{
    rows_.setRecNo(2);
    const struct
    {
        PartialRange range;
        QString block, flight;
    } cases[] = {
        {{2, 3}, "01:50", "01:30"},
        {{3, 3}, "0:40", "0:30"}, // one row: its texts as they stand
        {{2, 0}, "", "03:45"},    // start only: to the last row; a bad time empties its sum
        {{3, 4}, "02:45", "02:25"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.range.PartStart << ',' << c.range.PartEnd);
        const auto sums = CalcPart(rows_, c.range);
        ASSERT_TRUE(sums);
        EXPECT_EQ(sums->blockTime, c.block);
        EXPECT_EQ(sums->flightTime, c.flight);
        EXPECT_EQ(rows_.recNo(), 2);
    }
    EXPECT_FALSE(CalcPart(rows_, {0, 4})); // an end mark alone computes nothing
}

} // namespace
