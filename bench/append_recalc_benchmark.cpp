// Appending one flight to a log table whose totals are right and
// recalculating from it, as the entry window does after its dialog, on each
// store; the time should not grow with the table. Each run is the first
// write of a fresh session (connection and row-set opened anew off the
// clock), where nothing the store learns from its first statements is kept
// yet. Baseline in the same run: one raw INSERT of the row and one UPDATE of
// its totals through a plain query on the same connection. Medians of three
// runs, each on a fresh append:
//   bench/append_recalc_benchmark [rows]...   (through scripts/bench.sh)
#include "bench/bench_stores.h"
#include "bench/log_rows.h"
#include "bench/project_run.h"
#include "calc/entry_routines.h"
#include "calc/totals_calculation.h"
#include "core/preferences.h"
#include "core/time_text.h"
#include "data/data_set.h"

#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace {

const QString Table = QStringLiteral("bench_append");
const QString FlightTime = QStringLiteral("00:30");

// The entry window's append: the routine gives the row its keys, the
// dialog's part is typing the two times, then the pass from the new row.
void appendFlight(DataSet& rows, bool zeroIdOnNewRows)
{
    EntryRoutineContext context;
    context.zeroIdOnNewRows = zeroIdOnNewRows;
    context.showEntryDialog = [&rows](const std::function<void()>& save) {
        rows.setValue(u"blocktime", QStringLiteral("00:40"));
        rows.setValue(u"flighttime", FlightTime);
        save();
        return true;
    };
    if (!AppendEntry(rows, context))
        throw std::runtime_error("the append was refused");
    CalcTotals(rows, Preferences{}, 1);
}

// A pass that wrote nothing would time nothing: each appended flight must
// carry the total on by its time.
void checkTotalsCarried(DataSet& rows, const QString& before, int flights)
{
    QString expected = before;
    for (int i = 0; i < flights; ++i)
        expected = MyutyTime::TimeAdd(expected, FlightTime);
    if (ShowTotals(rows).sincema != expected)
        throw std::runtime_error(("the appended rows' total is not " + expected).toStdString());
}

double rawInsertAndUpdateMs(QSqlDatabase db, int firstCt)
{
    QStringList sets;
    for (const QString& column : bench::TotalColumns)
        sets.append(column + " = '1000:00'");
    int ct = firstCt;
    return medianMs([&] {
        QSqlQuery query(db);
        bench::exec(query, QStringLiteral("INSERT INTO %1 (ct, sb, blocktime, flighttime) "
                                          "VALUES (%2, 0, '00:40', '00:30')")
                               .arg(Table)
                               .arg(ct));
        bench::exec(query, QStringLiteral("UPDATE %1 SET %2 WHERE ct = %3 AND sb = 0")
                               .arg(Table, sets.join(", "))
                               .arg(ct++));
    });
}

void measure(const bench::Store& store, int rows)
{
    bench::StoreTable table(store, Table);
    bench::fillLog(table, rows, bench::StoredTotals::Right);
    const QString before = ShowTotals(table.openLog()).sincema;
    StoreConnections& connections = table.connections();

    const bench::ProjectRun project = bench::runProject(
        [&] { appendFlight(connections.requireDataSet(), store.kind == MySqlStore); },
        [&] {
            connections.CloseLogTable();
            connections.DisconnectDatabase();
            connections.ConnectDatabase();
            table.openLog();
        });
    checkTotalsCarried(connections.requireDataSet(), before, MedianRuns);
    connections.CloseLogTable();

    const double baselineMs = rawInsertAndUpdateMs(table.database(), rows + MedianRuns + 1);
    bench::print({"recalculation after one append", store.name, rows, project.ms, baselineMs,
                  project.peakBytes});
}

} // namespace

int main(int argc, char** argv)
{
    return bench::runAtEachSize(argc, argv, [](int rows) {
        for (const bench::Store& store : bench::chosenStores())
            measure(store, rows);
    });
}
