// Recalculating a whole log table whose totals are all stale, on each
// store, next to a baseline in the same run: on the SQL stores a raw
// transaction of the same number of prepared single-row UPDATEs through Qt
// SQL; on the folder store writing the table's file once to a new file
// with one flush to disk, the least a pass that rewrites the table can
// cost. Medians of three runs:
//   bench/recalc_benchmark [rows]...   (through scripts/bench.sh)
#include "bench/bench_stores.h"
#include "bench/log_rows.h"
#include "bench/project_run.h"
#include "calc/totals_calculation.h"
#include "core/preferences.h"
#include "data/data_set.h"
#include "paradox/file_sync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <stdexcept>

namespace {

const QString Table = QStringLiteral("bench_recalc");

double rawUpdatesMs(bench::StoreTable& table, int rows)
{
    QSqlDatabase db = table.database();
    QStringList sets;
    for (const QString& column : bench::TotalColumns)
        sets.append(column + " = ?");
    return medianMs(
        [&] {
            const bool transaction = db.transaction();
            QSqlQuery query(db);
            query.prepare("UPDATE " + Table + " SET " + sets.join(", ") + " WHERE ct = ?");
            for (int ct = 2; ct <= rows; ++ct) {
                const QString total = QStringLiteral("%1:00").arg(ct);
                for (int i = 0; i < sets.size(); ++i)
                    query.bindValue(i, total);
                query.bindValue(int(sets.size()), ct);
                if (!query.exec())
                    throw std::runtime_error(query.lastError().text().toStdString());
            }
            if (transaction)
                db.commit();
        },
        [&] { bench::spoilTotals(table); });
}

// The table file's bytes, read off the clock, written to a new file beside
// it and flushed to disk once.
double fileRewriteMs(const QString& tableFile)
{
    QFile source(tableFile);
    if (!source.open(QIODevice::ReadOnly))
        throw std::runtime_error(source.errorString().toStdString());
    const QByteArray bytes = source.readAll();
    const QString copy = QFileInfo(tableFile).dir().filePath("rewrite.tmp");
    const double ms = medianMs(
        [&] {
            QFile file(copy);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                throw std::runtime_error(file.errorString().toStdString());
            paradox::codec::syncToDisk(file);
        },
        [&] { QFile::remove(copy); });
    QFile::remove(copy);
    return ms;
}

void measure(const bench::Store& store, int rows)
{
    bench::StoreTable table(store, Table);
    bench::fillLog(table, rows, bench::StoredTotals::Stale);
    StoreConnections& connections = table.connections();

    const bench::ProjectRun project =
        bench::runProject([&] { CalcTotals(connections.requireDataSet(), Preferences{}, 0); },
                          [&] {
                              connections.CloseLogTable();
                              bench::spoilTotals(table);
                              table.openLog();
                          });
    connections.CloseLogTable();

    const double baselineMs = store.kind == ParadoxStore ? fileRewriteMs(table.tableFilePath())
                                                         : rawUpdatesMs(table, rows);
    bench::print(
        {"whole-table recalculation", store.name, rows, project.ms, baselineMs, project.peakBytes});
}

} // namespace

int main(int argc, char** argv)
{
    return bench::runAtEachSize(argc, argv, [](int rows) {
        for (const bench::Store& store : bench::chosenStores())
            measure(store, rows);
    });
}
