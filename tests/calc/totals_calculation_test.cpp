#include "calc/totals_calculation.h"
#include "core/error.h"
#include "core/preferences.h"
#include "tests/calc/logbook_fixture.h"

#include <QObject>
#include <QRegularExpression>
#include <algorithm>

void PrintTo(const Totals& totals, std::ostream* out)
{
    *out << QStringList{totals.sincema,   totals.sinceov,   totals.e_sincema,
                        totals.e_sinceov, totals.p_sincema, totals.p_sinceov}
                .join(QStringLiteral(", "))
                .toStdString();
}

using logbook::LogRow;
using logbook::row;

namespace {

Preferences options(void (*set)(Preferences&) = nullptr)
{
    Preferences preferences;
    if (set)
        set(preferences);
    return preferences;
}

struct PassCase
{
    const char* name;
    Preferences preferences;
    std::vector<LogRow> rows;
    QStringList expected;
};

// The six totals of a row in the test notation.
Totals lastRowTotals(const QString& expectedRow)
{
    QStringList cells = QString(expectedRow).remove(QStringLiteral("| ")).split(' ');
    for (QString& cell : cells)
        cell.remove(QRegularExpression(QStringLiteral("^-$")));
    return {cells[0], cells[1], cells[4], cells[5], cells[8], cells[9]};
}

// Opening totals that every option case starts from.
constexpr LogRow Opening{"- - -", "", "10:00 10:00", "- - 10:00 10:00"};

class TotalsCalculation : public logbook::LogbookTest
{
protected:
    // Rows the pass posted, counted as they enter edit state.
    int writesDuring(auto&& pass)
    {
        int writes = 0;
        const auto connection = QObject::connect(&rows_, &DataSet::stateChanged, [&] {
            if (rows_.state() == DataSet::State::Edit)
                ++writes;
        });
        pass();
        QObject::disconnect(connection);
        return writes;
    }
};

TEST_F(TotalsCalculation, WholeTablePassFollowsTheCountingRules)
{
    const PassCase cases[] = {
        {"no starting totals: every total stays empty, stale ones are cleared",
         options(),
         {{}, {"01:10 01:00 -", "", "99:00 99:00", "- 01:00 99:00 99:00"}, {"00:40 00:30 -"}},
         {row("- -", "- - - -"), row("- -", "- 01:00 - -"), row("- -", "- 00:30 - -")}},

        {"opening row kept as typed, its own times not counted, zero kept",
         options(),
         {{"01:10 01:00 -", "", "100:00 00:00", "- - 50:00 00:00", "- - 20:00 0:00"},
          {"01:10 01:00 -"},
          {"- - -"}},
         {row("100:00 00:00", "- - 50:00 00:00", "- - 20:00 0:00"),
          row("101:00 01:00", "- 01:00 51:00 01:00", "- 01:00 21:00 01:00"),
          row("101:00 01:00", "- - 51:00 01:00", "- - 21:00 01:00")}},

        {"a zero total carried across a row with no time",
         options(),
         {{"- - -", "", "10:00 00:00", "- - 10:00 00:00"}, {"- - -"}, {"- 00:30 -"}},
         {row("10:00 00:00", "- - 10:00 00:00"), row("10:00 -", "- - 10:00 -"),
          row("10:30 00:30", "- 00:30 10:30 00:30")}},

        {"anchors per component keep their typed values; an empty typed total carries through",
         options(),
         {{"- - -", "", "10:00 05:00", "- - 20:00 02:00", "- - 30:00 03:00"},
          {"- 01:00 -", "", "99:00 99:00"},
          {"- 01:00 -", "e", "99:00 99:00", "- 00:45 21:00 00:30"},
          {"- 02:00 -", "a", "500:00 -"},
          {"- 00:30 -", "", "- -", "- - - -", "- - 99:00 -"}},
         {row("10:00 05:00", "- - 20:00 02:00", "- - 30:00 03:00"),
          row("11:00 06:00", "- 01:00 21:00 03:00", "- 01:00 31:00 04:00"),
          row("12:00 07:00", "- 00:45 21:00 00:30", "- 01:00 32:00 05:00"),
          row("500:00 -", "- 02:00 23:00 02:30", "- 02:00 34:00 07:00"),
          row("500:30 07:30", "- 00:30 23:30 03:00", "- 00:30 34:30 07:30")}},

        {"an anchor for all three on the opening row, rows after it add their time",
         options(),
         {{"- - -", "aep", "10:00 05:00", "- - 20:00 02:00"},
          {"- 01:00 -", "", "- -", "- - - -"},
          {"- 00:15 -"}},
         {row("10:00 05:00", "- - 20:00 02:00"), row("11:00 06:00", "- 01:00 21:00 03:00"),
          row("11:15 06:15", "- 00:15 21:15 03:15")}},

        {"block time for the airframe",
         options([](Preferences& p) { p.UseBlockTime = true; }),
         {Opening, {"01:10 01:00 -"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:10 11:10", "- 01:00 11:00 11:00")}},

        {"engine ground time; none when block equals flight time",
         options([](Preferences& p) { p.E_IncGround = true; }),
         {Opening, {"01:10 01:00 -"}, {"01:00 01:00 -", "", "- -", "00:05 - - -"}},
         {row("10:00 10:00", "- - 10:00 10:00"),
          row("11:00 11:00", "00:10 01:10 11:10 11:10", "- 01:00 11:00 11:00"),
          row("12:00 12:00", "- 01:00 12:10 12:10", "- 01:00 12:00 12:00")}},

        {"propeller ground time alone",
         options([](Preferences& p) { p.P_IncGround = true; }),
         {Opening, {"01:10 01:00 -"}},
         {row("10:00 10:00", "- - 10:00 10:00"),
          row("11:00 11:00", "- 01:00 11:00 11:00", "00:10 01:10 11:10 11:10")}},

        {"ground share of 20 percent",
         options([](Preferences& p) { p.RussianSys = true; }),
         {Opening, {"01:10 01:00 -"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:00 11:00", "- 01:02 11:02 11:02")}},

        {"ground share on top of the engine's ground time",
         options([](Preferences& p) {
             p.RussianSys = true;
             p.E_IncGround = true;
         }),
         {Opening, {"01:10 01:00 -"}},
         {row("10:00 10:00", "- - 10:00 10:00"),
          row("11:00 11:00", "00:10 01:12 11:12 11:12", "- 01:02 11:02 11:02")}},

        {"ground share of another percentage",
         options([](Preferences& p) {
             p.RussianSys = true;
             p.RussianValue = 50;
         }),
         {Opening, {"01:10 01:00 -"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:00 11:00", "- 01:05 11:05 11:05")}},

        {"power time added, negative included; a zero result is empty",
         options([](Preferences& p) { p.GliderAdd1 = true; }),
         {Opening, {"- 01:00 -0:20"}, {"- 01:00 -1:00"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:00 11:00", "- 00:40 10:40 10:40"),
          row("12:00 12:00", "- - 10:40 10:40")}},

        {"power time first, then the ground share",
         options([](Preferences& p) {
             p.GliderAdd1 = true;
             p.RussianSys = true;
         }),
         {Opening, {"01:10 01:00 0:30"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:00 11:00", "- 01:32 11:32 11:32")}},

        {"power time alone overrides every other engine option, kept as typed",
         options([](Preferences& p) {
             p.E_IncGround = true;
             p.P_IncGround = true;
             p.GliderAdd1 = true;
             p.GliderAdd2 = true;
             p.RussianSys = true;
         }),
         {Opening, {"01:10 01:00 1:5", "", "- -", "00:10 - - -"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:00 11:00", "- 1:5 11:50 11:50")}},

        {"an unreadable flight time adds nothing and the next row goes on from good totals",
         options(),
         {Opening, {"- ab:cd -"}, {"- 01:00 -"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("- -", "- ab:cd - -"),
          row("11:00 11:00", "- 01:00 11:00 11:00")}},

        {"an unreadable power time leaves the engine totals at the carried values",
         options([](Preferences& p) { p.GliderAdd1 = true; }),
         {Opening, {"- 01:00 x:y"}, {"- 01:00 0:10"}},
         {row("10:00 10:00", "- - 10:00 10:00"), row("11:00 11:00", "- - 10:00 10:00"),
          row("12:00 12:00", "- 01:10 11:10 11:10")}},
    };
    for (const PassCase& c : cases) {
        SCOPED_TRACE(c.name);
        recreateTable();
        seed(c.rows);
        open();
        CalcTotals(rows_, c.preferences, 0);
        EXPECT_EQ(stored(), c.expected);
        EXPECT_EQ(ShowTotals(rows_), lastRowTotals(c.expected.last()));
    }
}

// Rows whose totals go empty in the middle (a zero sum, an unreadable time),
// with an anchor further down: the awkward places to start a pass.
const std::vector<LogRow> GappedLog{
    {"- - -", "", "00:00 10:00", "- - 00:00 10:00"},
    {"- - -"},
    {"- ab:cd -"},
    {"- 00:30 -"},
    {"- 01:00 -", "a", "100:00 -"},
    {"- 01:00 -"},
    {"- 00:20 -"},
};

const QStringList GappedLogTotals{
    row("00:00 10:00", "- - 00:00 10:00"),
    row("- 10:00", "- - - 10:00"),
    row("- -", "- ab:cd - -"),
    row("00:30 10:30", "- 00:30 00:30 10:30"),
    row("100:00 -", "- 01:00 01:30 11:30"),
    row("101:00 11:30", "- 01:00 02:30 12:30"),
    row("101:20 11:50", "- 00:20 02:50 12:50"),
};

TEST_F(TotalsCalculation, PassFromAnyRowEqualsTheWholeTablePass)
{
    seed(GappedLog);
    open();
    CalcTotals(rows_, Preferences{}, 0);
    ASSERT_EQ(stored(), GappedLogTotals);

    for (int start = 1; start <= int(GappedLog.size()); ++start) {
        SCOPED_TRACE(testing::Message() << "pass from row " << start);
        // Everything the pass should rewrite is stale; the rows above it are right.
        exec(QStringLiteral("UPDATE t SET sincema = '99:00', sinceov = '99:00', "
                            "e_sincema = '99:00', e_sinceov = '99:00', p_sincema = '99:00', "
                            "p_sinceov = '99:00' WHERE ct >= %1 AND ovh = 0 AND ct > 1")
                 .arg(start));
        open();
        rows_.setRecNo(start);
        CalcTotals(rows_, Preferences{}, 1);
        EXPECT_EQ(stored(), GappedLogTotals);
        EXPECT_EQ(rows_.recNo(), start);
    }
}

TEST_F(TotalsCalculation, OnlyRowsThatChangeAreWritten)
{
    seed(GappedLog);
    open();
    rows_.setRecNo(4);
    EXPECT_EQ(writesDuring([&] { CalcTotals(rows_, Preferences{}, 0); }), 6);
    EXPECT_EQ(rows_.recNo(), 4);
    EXPECT_EQ(writesDuring([&] { CalcTotals(rows_, Preferences{}, 0); }), 0);
    EXPECT_EQ(writesDuring([&] { CalcTotals(rows_, Preferences{}, 1); }), 0);

    // One flight appended: a pass from it, or over the whole table, writes it alone.
    exec("INSERT INTO t (ct, sb, flighttime) VALUES (8, 0, '00:10')");
    for (int from : {1, 0}) {
        SCOPED_TRACE(testing::Message() << "from " << from);
        exec("UPDATE t SET sincema = NULL WHERE ct = 8");
        open();
        rows_.last();
        EXPECT_EQ(writesDuring([&] { CalcTotals(rows_, Preferences{}, from); }), 1);
        EXPECT_EQ(stored().last(), row("101:30 12:00", "- 00:10 03:00 13:00"));
    }
}

TEST_F(TotalsCalculation, ProgressCountsTheRowsToTheEnd)
{
    seed(GappedLog);
    open();
    rows_.setRecNo(4);
    QList<int> reported;
    int reportedTotal = 0;
    CalcTotals(rows_, Preferences{}, 1, [&](int done, int total) {
        reported.append(done);
        reportedTotal = total;
    });
    const int total = int(GappedLog.size()) - 3;
    EXPECT_EQ(reportedTotal, total);
    EXPECT_EQ(reported.first(), 1);
    EXPECT_EQ(reported.last(), total);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}

TEST_F(TotalsCalculation, HeldChangesAreSentAtTheEnd)
{
    seed(GappedLog);
    open();
    rows_.setWriteBack(DataSet::WriteBack::Cached);
    CalcTotals(rows_, Preferences{}, 0);
    EXPECT_EQ(rows_.changeCount(), 0);
    EXPECT_EQ(stored(), GappedLogTotals);
}

TEST_F(TotalsCalculation, AFailedWriteEndsThePassAndRestoresTheRowSet)
{
    seed({Opening, {"- 01:00 -"}, {"- 01:00 -"}, {"- 01:00 -"}});
    open();
    rows_.setRecNo(2);
    rows_.setWhereMode(WhereMode::All);
    const FieldFlags ctFlags{.inUpdate = true, .inWhere = true, .inKey = false};
    rows_.setFieldFlags(u"ct", ctFlags);
    exec("DELETE FROM t WHERE ct = 3"); // gone behind the row-set's back

    try {
        CalcTotals(rows_, Preferences{}, 0);
        FAIL() << "the pass went through a row the table no longer holds";
    } catch (const SkelvoError& error) {
        EXPECT_TRUE(error.message().contains("ct=3")) << error.what();
    }
    EXPECT_EQ(rows_.recNo(), 2);
    EXPECT_EQ(rows_.state(), DataSet::State::Browse);
    EXPECT_FALSE(rows_.controlsDisabled());
    EXPECT_EQ(rows_.whereMode(), WhereMode::All);
    EXPECT_TRUE(rows_.fieldFlags(u"ct").inUpdate);
    EXPECT_FALSE(rows_.fieldFlags(u"ct").inKey);
    // The row before stays written, the row after was never reached.
    EXPECT_EQ(stored(),
              (QStringList{row("10:00 10:00", "- - 10:00 10:00"),
                           row("11:00 11:00", "- 01:00 11:00 11:00"), row("- -", "- - - -")}));
}

TEST_F(TotalsCalculation, ShowTotalsReadsTheLastRowWithoutMoving)
{
    seed({{"- - -", "", "10:00 05:00", "- - 20:00 02:00", "- - 30:00 03:00"},
          {"- - -", "", "11:00 -", "- - - 02:30", "- - 31:00 -"}});
    open();
    rows_.edit(); // a row being typed is neither posted nor left
    EXPECT_EQ(ShowTotals(rows_), (Totals{"11:00", "", "", "02:30", "31:00", ""}));
    EXPECT_EQ(rows_.recNo(), 1);
    EXPECT_EQ(rows_.state(), DataSet::State::Edit);
    rows_.cancel();
}

TEST_F(TotalsCalculation, NothingHappensWithoutAnOpenTable)
{
    seed({Opening, {"- 01:00 -"}});
    CalcTotals(rows_, Preferences{}, 0);
    CalcTotals(rows_, Preferences{}, 1);
    EXPECT_EQ(ShowTotals(rows_), Totals{});
    EXPECT_EQ(stored()[1], row("- -", "- - - -"));

    open();
    exec("DELETE FROM t");
    open();
    CalcTotals(rows_, Preferences{}, 0); // an empty table has nothing to do
    EXPECT_EQ(ShowTotals(rows_), Totals{});
}

} // namespace
