// The statistics window's figures over a long logbook, next to a plain pass
// that only sums the flight minutes of the same rows.
#include "bench/measurement.h"
#include "bench/median_time.h"
#include "core/time_text.h"
#include "statistics/flight_figures.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;

    // About thirty flights a day over the years, thirty crew members and
    // fifteen purposes, the engine total growing with each flight.
    std::vector<Statistics::RowFields> rows;
    rows.reserve(size_t(count));
    QDate day(2000, 1, 1);
    qint64 sinceOverhaul = 0;
    for (int i = 0; i < count; ++i) {
        if (i % 30 == 29)
            day = day.addDays(1);
        const int minutes = 20 + i % 70;
        sinceOverhaul += minutes;
        rows.push_back({QString::number(day.year()), day.toString(QStringLiteral("MMdd")),
                        QStringLiteral("乗員%1").arg(i % 30), QStringLiteral("目的%1").arg(i % 15),
                        MyutyTime::MinutesText(minutes), MyutyTime::MinutesText(sinceOverhaul)});
    }

    qint64 sink = 0;
    bench::resetPeak();
    const double project = medianMs([&] {
        const Statistics::Figures figures =
            Statistics::compute(rows, Statistics::lastTwelveMonths(rows));
        sink += qint64(figures.months.size() + figures.crew.size());
        // Every row counted, not only the last twelve months'.
        const Statistics::Figures all = Statistics::compute(rows, Statistics::monthsSpanned(rows));
        sink += qint64(all.months.size());
    });
    const qint64 peak = bench::peakResidentBytes();
    const double baseline = medianMs([&] {
        qint64 total = 0;
        for (const Statistics::RowFields& row : rows)
            total += MyutyTime::TimeMinutes(row.flighttime).value_or(0);
        sink += total;
    });
    bench::print({QStringLiteral("statistics figures (baseline: sum of minutes)"),
                  QStringLiteral("memory"), count, project, baseline, peak});
    return sink == 0 ? 1 : 0;
}
