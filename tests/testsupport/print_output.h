#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

// Reading back what printing produced: PDF files through poppler-utils and
// the jobs the private print scheduler keeps.
namespace testsupport {

// Runs a command-line tool and gives its standard output; a tool that does
// not run or fails is a test failure.
QString runTool(const QString& program, const QStringList& arguments);

// A PDF file's page count and the size of its first page in millimetres.
int pdfPageCount(const QString& pdf);
QSizeF pdfPageSizeMm(const QString& pdf);

// The job files a test queue has kept, by name, and the first one not in
// before (waiting up to 30 s for it); empty when none came.
QStringList keptJobs(const QString& queue);
QString waitForNewJob(const QString& queue, const QStringList& before);
// The options a kept job was sent to the queue with, each "name=value" (or a
// bare name), as the queue's backend was handed them.
QStringList jobOptions(const QString& job);

} // namespace testsupport
