#pragma once

#include "paradox/paradox_table.h"
#include "tests/testsupport/temp_folder.h"

#include <QString>
#include <QVariant>
#include <ostream>

// Shared by the codec's tests: the sample tables written by other software,
// and readable failure output for values.
namespace paradoxtest {

// The folder of sample tables beside the clone; a test fails clearly when
// it is missing.
QString samplesFolder();

// Copies a sample table and its companion files into the folder (samples
// are read-only) and returns the copy's path.
QString copySample(const testsupport::TempFolder& folder, const QString& fileName);

QList<paradox::Row> valuesOf(const QList<paradox::Record>& records);

// pxlib finds the same fields, values and record positions in the table as
// the codec does (blob values aside).
void expectPxlibReadsTheSame(const QString& tablePath);

} // namespace paradoxtest

void PrintTo(const QVariant& value, std::ostream* out);
