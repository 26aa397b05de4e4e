#include "tests/testsupport/print_output.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace testsupport {

QString runTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " failed (poppler-utils installed?): "
                      << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString& pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(info);
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

QSizeF pdfPageSizeMm(const QString& pdf)
{
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    if (!size.hasMatch())
        return {};
    const double mmPerPoint = 25.4 / 72;
    return {size.captured(1).toDouble() * mmPerPoint, size.captured(2).toDouble() * mmPerPoint};
}

static QString outputFolder(const QString& queue)
{
    return qEnvironmentVariable("SKELVO_TEST_CUPS_OUTPUT") + '/' + queue;
}

QStringList keptJobs(const QString& queue)
{
    return QDir(outputFolder(queue))
        .entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Name);
}

QString waitForNewJob(const QString& queue, const QStringList& before)
{
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        for (const QString& job : keptJobs(queue)) {
            if (!before.contains(job))
                return outputFolder(queue) + '/' + job;
        }
        QThread::msleep(100);
    }
    return {};
}

QStringList jobOptions(const QString& job)
{
    QFile file(QString(job).replace(QStringLiteral(".pdf"), QStringLiteral(".options")));
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "no options kept beside " << job.toStdString();
    return QString::fromUtf8(file.readAll()).trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace testsupport
