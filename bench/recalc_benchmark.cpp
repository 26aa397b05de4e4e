// Recalculating a whole log table whose totals are all stale, on each
// store, next to a baseline in the same run: a raw transaction of the same
// number of prepared single-row UPDATEs through Qt SQL. Medians of three
// runs; run through scripts/bench.sh, which starts a private MariaDB server.
#include "bench/bench_stores.h"
#include "bench/median_time.h"
#include "calc/totals_calculation.h"
#include "core/preferences.h"
#include "data/bulk_insert.h"
#include "data/data_set.h"
#include "paradox/paradox_driver.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>
#include <stdexcept>

namespace {

const QString Table = QStringLiteral("bench_recalc");
const QStringList TotalColumns = {"sincema",   "sinceov",   "e_sincema",
                                  "e_sinceov", "p_sincema", "p_sinceov"};

void exec(QSqlQuery& query)
{
    if (!query.exec())
        throw std::runtime_error(query.lastError().text().toStdString());
}

// An opening row with typed totals and flights of 30 minutes whose stored
// totals are all wrong.
void fill(const QString& connection, int rows)
{
    BulkInsert insert(connection, Table,
                      QStringList{"ct", "sb", "blocktime", "flighttime"} + TotalColumns);
    insert.insert({1, 0, "", "", "1000:00", "10:00", "800:00", "20:00", "600:00", "30:00"});
    for (int ct = 2; ct <= rows; ++ct)
        insert.insert(
            {ct, 0, "00:40", "00:30", "99:00", "99:00", "99:00", "99:00", "99:00", "99:00"});
    insert.finish();
}

// Makes every flight's totals wrong again, off the clock.
void spoil(QSqlDatabase db)
{
    QSqlQuery query(db);
    QStringList sets;
    for (const QString& column : TotalColumns)
        sets.append(column + " = '99:00'");
    query.prepare("UPDATE " + Table + " SET " + sets.join(", ") + " WHERE ct > 1");
    exec(query);
}

void runStore(const bench::Store& store, int rows)
{
    bench::StoreTable table(store, Table);
    fill(table.connectionName(), rows);
    QSqlDatabase db = table.database();

    const double recalcMs = medianMs(
        [&] {
            DataSet& data = table.connections().requireDataSet();
            CalcTotals(data, Preferences{}, 0);
        },
        [&] {
            table.connections().CloseLogTable();
            spoil(db);
            table.connections().OpenLogTable();
        });

    QStringList sets;
    for (const QString& column : TotalColumns)
        sets.append(column + " = ?");
    const double rawMs = medianMs(
        [&] {
            const bool transaction = db.transaction();
            QSqlQuery query(db);
            query.prepare("UPDATE " + Table + " SET " + sets.join(", ") + " WHERE ct = ?");
            for (int ct = 2; ct <= rows; ++ct) {
                const QString total = QStringLiteral("%1:00").arg(ct);
                for (int i = 0; i < TotalColumns.size(); ++i)
                    query.bindValue(i, total);
                query.bindValue(int(TotalColumns.size()), ct);
                exec(query);
            }
            if (transaction)
                db.commit();
        },
        [&] {
            table.connections().CloseLogTable();
            spoil(db);
        });

    std::printf("%-8s recalculation %8.0f ms  raw UPDATEs %8.0f ms  ratio %5.2fx\n", store.name,
                recalcMs, rawMs, recalcMs / rawMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ParadoxDriver::registerDriver();
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    std::printf("whole-table recalculation of %d rows (medians of %d runs)\n", rows, MedianRuns);
    try {
        for (const bench::Store& store : bench::Stores)
            runStore(store, rows);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
