#pragma once

#include "data/bulk_insert.h"
#include "data/statement_values.h"
#include "db/transfer_progress.h"

#include <QList>
#include <QStringList>
#include <QVariant>

// A log table to and from the CSV format: the export of an open row-set
// and the import of a file into a table, without windows.
namespace CsvTransfer {

// A value as the files carry it: logical values as 1 or 0 (an empty one
// as 0), NULL as empty, everything else as its text.
QString cellText(const QVariant& value);

// The header of an export: the 40 data columns in their order.
QStringList dataColumnNames();

// Writes the table's rows in key order, their values from the fourth
// column on (the key columns id, ct, sb left out), under the header; the
// file is replaced only when complete. Returns the number of rows written.
// Raises SkelvoError.
int writeFile(const QString& connectionName, const QString& table, const QString& fileName,
              const TransferProgress& progress);

// A file to import, read whole and checked before anything is written.
struct ImportFile
{
    QStringList columns; // the data columns the values go to
    QList<QStringList> rows;
    QList<int> lineNumbers; // each row's line in the file, from 1
    int lineCount = 0;      // the header included
};

// Reads and checks the file: it decodes, a header names only columns the
// table has (tableColumns, when known), no line is empty, every line holds
// as many values as there are columns and no value is longer than its
// column holds (textLimits) or holds NUL. Raises SkelvoError naming the
// line. Empty values of the integer and flag columns become 0, by their
// position in the line.
ImportFile readFile(const QString& fileName, const QStringList& tableColumns,
                    const TextLimits& textLimits = {});

// Appends the rows numbered ct from nextCt on, sb 0, through the
// connection. Raises SkelvoError naming the line of the first row the
// store refuses; the rows before it stay, unless the table's rows were to
// be replaced: then the table keeps its old rows. Returns the rows added.
int appendRows(const QString& connectionName, const QString& table, const ImportFile& file,
               int nextCt, const TransferProgress& progress,
               ExistingRows existing = ExistingRows::Kept);

} // namespace CsvTransfer
