// Opening a whole log table and reading every cell on each store, next to
// a baseline in the same run: a raw forward-only query reading every cell as
// a QVariant and keeping the values, as an open table does. Then the memory an open table holds,
// next to a plain list of the same values. Medians of three runs; run through scripts/bench.sh,
// which starts a private MariaDB server.
#include "bench/bench_stores.h"
#include "bench/measurement.h"
#include "bench/project_run.h"
#include "core/log_record.h"
#include "data/bulk_insert.h"
#include "data/data_set.h"
#include "data/text_bytes.h"
#include "db/store_dialects.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <cstdio>
#include <malloc.h>
#include <stdexcept>
#include <vector>

namespace {

using namespace Qt::StringLiterals;

const QString Table = QStringLiteral("bench_open");

// A row as an operator's logbook holds it: Japanese names and places, HH:MM
// times and totals, a remark now and then.
QVariantList logbookRow(int ct)
{
    static const QStringList crews = {"山田太郎", "佐藤花子", "鈴木一郎"};
    static const QStringList fields = {"大利根滑空場", "福島スカイパーク", "板倉滑空場"};
    QVariantList row{ct, 0};
    for (const LogRecord::Column& column : LogRecord::dataColumns()) {
        const QLatin1StringView name = column.name;
        switch (column.kind) {
        case LogRecord::ColumnKind::Integer:
            row.append(ct / 30 + 1);
            break;
        case LogRecord::ColumnKind::Flag:
            row.append(0);
            break;
        case LogRecord::ColumnKind::TimeText:
            row.append(QString::asprintf("%02d:%02d", 9 + ct % 8, ct % 60));
            break;
        case LogRecord::ColumnKind::Text:
            if (name == "callsign"_L1)
                row.append("JA2401");
            else if (name == "yyyy"_L1)
                row.append(QString::number(2000 + ct / 1500));
            else if (name == "mmdd"_L1)
                row.append(QString::asprintf("%02d%02d", ct / 120 % 12 + 1, ct / 4 % 28 + 1));
            else if (name == "crew"_L1 || name == "sign"_L1)
                row.append(crews[ct % 3]);
            else if (name == "intention"_L1)
                row.append(QStringLiteral("慣熟飛行"));
            else if (name == "depart"_L1 || name == "arrive"_L1)
                row.append(fields[(ct + (name == "arrive"_L1 ? 1 : 0)) % 3]);
            else
                row.append(ct % 10 ? QString() : QStringLiteral("100時間点検, 異常なし"));
            break;
        }
    }
    return row;
}

void fill(const QString& connection, int rows)
{
    QStringList columns{"ct", "sb"};
    for (const LogRecord::Column& column : LogRecord::dataColumns())
        columns.append(QString(column.name));
    BulkInsert insert(connection, Table, columns,
                      dialectOf(QSqlDatabase::database(connection, false)));
    for (int ct = 1; ct <= rows; ++ct)
        insert.insert(logbookRow(ct));
    insert.finish();
}

// Reads every cell the way a grid does; the sum of the types keeps the
// reads from being optimised away.
qint64 readEveryCell(const DataSet& data)
{
    qint64 sum = 0;
    for (int row = 0; row < data.recordCount(); ++row) {
        for (int field = 0; field < data.fieldCount(); ++field)
            sum += data.valueAt(row, field).typeId();
    }
    return sum;
}

// The statement the row-set runs: through ODBC to MySQL, texts can only be
// read right as their bytes.
struct RawRead
{
    QSqlQuery query;
    TextReadAsBytes reader;
};

RawRead selectAll(QSqlDatabase db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    const ColumnsRead columns = columnsToRead(db, Table);
    if (!query.exec("SELECT " + columns.list + " FROM " + Table + " " + LogRecord::OrderByKeys))
        throw std::runtime_error(query.lastError().text().toStdString());
    TextReadAsBytes reader(query.record(), columns.textAsBytes);
    return {std::move(query), std::move(reader)};
}

std::vector<QVariantList> rawRows(QSqlDatabase db)
{
    RawRead read = selectAll(db);
    const int width = read.query.record().count();
    std::vector<QVariantList> rows;
    while (read.query.next()) {
        QVariantList& row = rows.emplace_back();
        row.reserve(width);
        for (int field = 0; field < width; ++field)
            row.append(read.reader.value(read.query, field));
    }
    return rows;
}

qint64 rawReadEveryCell(QSqlDatabase db)
{
    qint64 sum = 0;
    for (const QVariantList& row : rawRows(db)) {
        for (const QVariant& value : row)
            sum += value.typeId();
    }
    return sum;
}

// Resident memory with the heap's free pages given back, so that what a
// finished query left behind does not count.
qint64 heldBytes()
{
    malloc_trim(0);
    return bench::residentBytes();
}

void measureReading(bench::StoreTable& table, bench::Measurement& m)
{
    DataSet& data = table.connections().requireDataSet();
    QSqlDatabase db = table.database();
    // The folder store keeps a table it has read: both sides find it read.
    rawReadEveryCell(db);
    qint64 cells = 0;
    const bench::ProjectRun run =
        bench::runProject([&] { cells += readEveryCell(table.openLog()); }, [&] { data.close(); });
    data.close();
    m.projectMs = run.ms;
    m.peakBytes = run.peakBytes;
    m.baselineMs = medianMs([&] { cells -= rawReadEveryCell(db); });
    if (cells != 0)
        throw std::runtime_error("the row-set and the query read different cells");
}

// Bytes a row in place of milliseconds: what the open table holds after
// every cell was read, next to a plain list of the same values.
void measureMemory(bench::StoreTable& table, bench::Measurement& m)
{
    DataSet& data = table.connections().requireDataSet();
    qint64 before = heldBytes();
    {
        const std::vector<QVariantList> values = rawRows(table.database());
        m.baselineMs = double(heldBytes() - before) / m.rows;
    }
    before = heldBytes();
    bench::resetPeak();
    table.openLog();
    const qint64 opened = heldBytes();
    readEveryCell(data);
    const qint64 read = heldBytes();
    m.projectMs = double(read - before) / m.rows;
    m.peakBytes = bench::peakResidentBytes();
    data.close();
    // Reading must copy no row; a page or two is noise.
    if (read - opened > 2 * 4096)
        std::fprintf(stderr, "%s: reading every cell added %.0f B a row\n", qPrintable(m.store),
                     double(read - opened) / m.rows);
}

void runStore(const bench::Store& store, int rows)
{
    bench::StoreTable table(store, Table);
    fill(table.connectionName(), rows);
    bench::Measurement reading{"open and read every cell", store.name, rows};
    measureReading(table, reading);
    bench::print(reading);
    bench::Measurement memory{"memory of an open table (B a row)", store.name, rows};
    measureMemory(table, memory);
    bench::print(memory);
}

} // namespace

int main(int argc, char** argv)
{
    return bench::runAtEachSize(argc, argv, [](int rows) {
        for (const bench::Store& store : bench::chosenStores())
            runStore(store, rows);
    });
}
