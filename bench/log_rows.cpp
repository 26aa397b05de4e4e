#include "bench/log_rows.h"

#include "bench/bench_stores.h"
#include "core/time_text.h"
#include "data/bulk_insert.h"
#include "db/store_dialects.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace bench {

const QStringList TotalColumns = {"sincema",   "sinceov",   "e_sincema",
                                  "e_sinceov", "p_sincema", "p_sinceov"};

namespace {

using SixTotals = std::array<QString, 6>;

const QString Stale = QStringLiteral("99:00");
const QString FlightTime = QStringLiteral("00:30");

QVariantList logRow(int ct, const QString& blocktime, const QString& flighttime,
                    const SixTotals& totals)
{
    QVariantList values{ct, 0, blocktime, flighttime, flighttime, flighttime};
    for (const QString& total : totals)
        values.append(total);
    return values;
}

} // namespace

void fillLog(StoreTable& table, int rows, StoredTotals totals)
{
    QElapsedTimer timer;
    timer.start();
    BulkInsert insert(
        table.connectionName(), table.tableName(),
        QStringList{"ct", "sb", "blocktime", "flighttime", "e_totaltime", "p_totaltime"} +
            TotalColumns,
        dialectOf(table.database()));
    SixTotals carried = {"1000:00", "10:00", "800:00", "20:00", "600:00", "30:00"};
    insert.insert(logRow(1, {}, {}, carried));
    const SixTotals stale = {Stale, Stale, Stale, Stale, Stale, Stale};
    for (int ct = 2; ct <= rows; ++ct) {
        for (QString& total : carried)
            total = MyutyTime::TimeAdd(total, FlightTime);
        insert.insert(logRow(ct, QStringLiteral("00:40"), FlightTime,
                             totals == StoredTotals::Right ? carried : stale));
    }
    insert.finish();
    std::fprintf(stderr, "%s: %d rows filled in %.1f s\n", table.store().name, rows,
                 double(timer.elapsed()) / 1000.0);
}

void spoilTotals(StoreTable& table)
{
    QStringList sets;
    for (const QString& column : TotalColumns)
        sets.append(column + " = '" + Stale + '\'');
    QSqlQuery query(table.database());
    if (!query.exec("UPDATE " + table.tableName() + " SET " + sets.join(", ") + " WHERE ct > 1"))
        throw std::runtime_error(query.lastError().text().toStdString());
}

} // namespace bench
