#include "db/old_table.h"

#include "core/csv_format.h"
#include "core/error.h"
#include "core/log_record.h"
#include "data/bulk_insert.h"
#include "data/data_set.h"
#include "db/csv_transfer.h"
#include "db/store_dialects.h"

namespace OldTable {
namespace {

// The old fields from "Year" on, in file order; each fills the data column
// at the same place after callsign.
constexpr const char16_t* OldFields[] = {
    u"Year",     u"Date",     u"Page",     u"Crew",     u"Nature",   u"From",     u"To",
    u"OutT",     u"OffT",     u"OnT",      u"InT",      u"Ovh",      u"BlockT",   u"FlightT",
    u"SinceMa",  u"SinceOv",  u"Sign",     u"Remarks",  u"Printed",  u"Epage",    u"Eovh",
    u"EgroundT", u"EflightT", u"EtotalT",  u"EsinceMa", u"EsinceOv", u"Eremarks", u"Eprinted",
    u"Ppage",    u"Povh",     u"PgroundT", u"PflightT", u"PtotalT",  u"PsinceMa", u"PsinceOv",
    u"Premarks", u"Pprinted", u"AirWth",   u"TPlass"};
constexpr int StandardFieldCount = 40;

bool hasPowerTime(const DataSet& table)
{
    return table.fieldCount() > StandardFieldCount;
}

// The CSV columns and the transfer's: callsign to airworthiness, and
// glider for a table with the power time.
QStringList targetColumns(const DataSet& table)
{
    QStringList columns = CsvTransfer::dataColumnNames();
    if (!hasPowerTime(table))
        columns.removeLast();
    return columns;
}

// A value for the log table's column: flags and integers 0 when empty.
QVariant columnValue(const QVariant& value, LogRecord::ColumnKind kind)
{
    const bool numeric =
        kind == LogRecord::ColumnKind::Integer || kind == LogRecord::ColumnKind::Flag;
    if (value.isNull())
        return numeric ? QVariant(0) : QVariant(QString());
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? 1 : 0;
    return numeric ? QVariant(value.toLongLong()) : QVariant(value.toString());
}

} // namespace

bool isOldTable(const DataSet& table)
{
    const QStringList& names = table.fieldNames();
    return names.size() >= 2 && names[0].compare(QLatin1String("no"), Qt::CaseInsensitive) == 0 &&
           names[1].compare(QLatin1String("Mark"), Qt::CaseInsensitive) == 0;
}

int writeCsvFile(const DataSet& table, const QString& mark, const QString& fileName,
                 const TransferProgress& progress)
{
    const int count = table.recordCount();
    progress.begin(count);
    QStringList lines{CsvFormat::formatLine(targetColumns(table))};
    QStringList values;
    for (int row = 0; row < count; ++row) {
        values = {mark.toUpper()};
        for (int field = 2; field < table.fieldCount(); ++field)
            values.append(CsvTransfer::cellText(table.valueAt(row, field)));
        lines.append(CsvFormat::formatLine(values));
        progress.done(row + 1);
    }
    CsvFormat::writeFile(fileName, lines);
    return count;
}

int transfer(const DataSet& table, const QString& connectionName, const QString& logTable,
             int nextCt, const TransferProgress& progress, ExistingRows existing)
{
    const QStringList columns = targetColumns(table);
    const int oldFieldCount = int(columns.size()) - 1; // all but callsign
    QList<int> fields;
    for (int i = 0; i < oldFieldCount; ++i) {
        const int field = table.fieldIndex(OldFields[i]);
        if (field < 0)
            throw SkelvoError(QStringLiteral("旧テーブルに %1 フィールドがありません。")
                                  .arg(QString::fromUtf16(OldFields[i])));
        fields.append(field);
    }
    const auto kinds = LogRecord::dataColumns();

    const int count = table.recordCount();
    progress.begin(count);
    BulkInsert insert(connectionName, logTable,
                      QStringList{QStringLiteral("ct"), QStringLiteral("sb")} + columns,
                      dialectOf(QSqlDatabase::database(connectionName, false)), existing);
    QVariantList values;
    for (int row = 0; row < count; ++row) {
        values = {nextCt + row, 0, logTable.toUpper()};
        for (int i = 0; i < oldFieldCount; ++i)
            values.append(columnValue(table.valueAt(row, fields[i]), kinds[size_t(i) + 1].kind));
        try {
            insert.insert(values);
        } catch (const SkelvoError& error) {
            throw SkelvoError(
                QStringLiteral("旧テーブルの %1 行目: %2").arg(row + 1).arg(error.message()));
        }
        progress.done(row + 1);
    }
    insert.finish();
    return count;
}

} // namespace OldTable
