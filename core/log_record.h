#pragma once

#include <QLatin1StringView>
#include <QStringView>
#include <span>

// The columns of a log entry: one row of an aircraft table is one entry of
// the journey log, the engine log and the propeller log at once. This table
// is the only place that lists them; everything else looks columns up here.
namespace LogRecord {

enum class ColumnKind
{
    Integer,
    Flag,     // integer holding 0 or 1; any non-zero value counts as set
    Text,     // empty text and NULL read alike
    TimeText, // "HH:MM"; zero durations and totals are the empty text
};

struct Column
{
    QLatin1StringView name;
    QStringView gridTitle; // empty for the key columns, which the grid never shows
    ColumnKind kind;
};

// id, ct and sb lead every table; the data columns follow in this order,
// which is also the column order of the CSV files.
inline constexpr int KeyColumnCount = 3;
inline constexpr int ColumnCount = 43;
inline constexpr int DataColumnCount = ColumnCount - KeyColumnCount;

std::span<const Column, ColumnCount> columns();
std::span<const Column, DataColumnCount> dataColumns();

// Position in the table (0-based), or -1 for an unknown name. Names match
// exactly: column names are lower case.
int columnIndex(QStringView name);
const Column* findColumn(QStringView name);

// Position in a CSV line (0-based), or -1 for key columns and unknown names.
int csvPosition(QStringView name);

// Every full read of a table orders by the two ordering keys.
inline constexpr char OrderByKeys[] = "ORDER BY ct,sb";

} // namespace LogRecord
