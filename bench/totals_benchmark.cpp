// The cost of recalculating a folder-store log table whose totals are all
// stale, next to the cost of the same number of single-row UPDATEs sent
// straight through Qt SQL on the same engine.
#include "calc/totals_calculation.h"
#include "core/preferences.h"
#include "data/data_set.h"
#include "db/table_management.h"
#include "paradox/paradox_driver.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

constexpr const char* Connection = "bench rows";

void run(QSqlQuery& query, const QString& sql = {})
{
    if (!(sql.isEmpty() ? query.exec() : query.exec(sql)))
        throw std::runtime_error(query.lastError().text().toStdString());
}

// A log table of the given size, made once per size: an opening row with
// typed totals and flights whose stored totals are all wrong.
class Template
{
public:
    explicit Template(int rows)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, "bench template");
        db.setDatabaseName(dir_.path());
        db.open();
        {
            QSqlQuery query(db);
            run(query,
                TableManagement::prepareCommand(TableManagement::readCommandFile(
                                                    SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"),
                                                "t"));
            run(query, "INSERT INTO t (ct, sb, sincema, sinceov, e_sincema, e_sinceov, "
                       "p_sincema, p_sinceov) VALUES (1, 0, '1000:00', '10:00', '800:00', "
                       "'20:00', '600:00', '30:00')");
            query.prepare("INSERT INTO t (ct, sb, blocktime, flighttime, sincema, sinceov, "
                          "e_sincema, e_sinceov, p_sincema, p_sinceov) VALUES (?, 0, '00:40', "
                          "'00:30', '99:00', '99:00', '99:00', '99:00', '99:00', '99:00')");
            for (int ct = 2; ct <= rows; ++ct) {
                query.bindValue(0, ct);
                run(query);
            }
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("bench template");
    }

    // A fresh copy of the table's files, connected under Connection.
    std::unique_ptr<QTemporaryDir> copy() const
    {
        auto target = std::make_unique<QTemporaryDir>();
        for (const QString& name : QDir(dir_.path()).entryList(QDir::Files))
            QFile::copy(dir_.filePath(name), target->filePath(name));
        QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, Connection);
        db.setDatabaseName(target->path());
        db.open();
        return target;
    }

private:
    QTemporaryDir dir_;
};

const Template& tableOf(int rows)
{
    static std::map<int, std::unique_ptr<Template>> made;
    auto& entry = made[rows];
    if (!entry)
        entry = std::make_unique<Template>(rows);
    return *entry;
}

void disconnect()
{
    QSqlDatabase::database(Connection, false).close();
    QSqlDatabase::removeDatabase(Connection);
}

void BM_RecalculateWholeTable(benchmark::State& state)
{
    const Template& table = tableOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const auto folder = table.copy();
        {
            DataSet rows;
            rows.setConnectionName(Connection);
            rows.setCommandText("SELECT * FROM t ORDER BY ct,sb");
            rows.setUpdateTable("t");
            rows.setIdentityField("id");
            rows.open();
            state.ResumeTiming();
            CalcTotals(rows, Preferences{}, 0);
            state.PauseTiming();
            if (ShowTotals(rows).sincema != QString::number(1000 + (state.range(0) - 1) / 2) +
                                                (state.range(0) % 2 ? ":00" : ":30"))
                state.SkipWithError("wrong totals");
        }
        disconnect();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SingleRowUpdates(benchmark::State& state)
{
    const Template& table = tableOf(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const auto folder = table.copy();
        {
            QSqlQuery query(QSqlDatabase::database(Connection));
            query.prepare("UPDATE t SET sincema = ?, sinceov = ?, e_sincema = ?, e_sinceov = ?, "
                          "p_sincema = ?, p_sinceov = ? WHERE id = ?");
            state.ResumeTiming();
            for (int id = 1; id <= state.range(0); ++id) {
                const QString total = QStringLiteral("%1:00").arg(id);
                for (int i = 0; i < 6; ++i)
                    query.bindValue(i, total);
                query.bindValue(6, id);
                run(query);
            }
            state.PauseTiming();
        }
        disconnect();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_RecalculateWholeTable)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleRowUpdates)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ParadoxDriver::registerDriver();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
