#pragma once

#include <QFile>
#include <QString>
#include <cstdio>

// What every store benchmark reports: one line of the table that
// scripts/bench.sh gathers, the project's time next to its baseline's in
// the same run, and the process's peak memory while the project worked.
namespace bench {

struct Measurement
{
    QString work;
    QString store;
    int rows = 0;
    double projectMs = 0;
    double baselineMs = 0;
    qint64 peakBytes = 0;
};

// "| work | store | rows | project ms | baseline ms | ratio | peak MiB |"
inline void print(const Measurement& m)
{
    std::printf("| %s | %s | %d | %.1f | %.1f | %.2f× | %.1f |\n", qPrintable(m.work),
                qPrintable(m.store), m.rows, m.projectMs, m.baselineMs,
                m.baselineMs > 0 ? m.projectMs / m.baselineMs : 0.0,
                double(m.peakBytes) / (1024.0 * 1024.0));
    std::fflush(stdout);
}

// The process's resident memory now and at its peak since the last reset,
// in bytes, from /proc/self/status (Linux; 0 elsewhere).
inline qint64 statusBytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key))).trimmed().split(' ').value(0).toLongLong() *
                   1024;
    }
    return 0;
}
inline qint64 residentBytes()
{
    return statusBytes("VmRSS:");
}
inline qint64 peakResidentBytes()
{
    return statusBytes("VmHWM:");
}
// Starts a new peak at the current resident size.
inline void resetPeak()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace bench
