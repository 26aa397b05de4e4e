#include "entry/entry_row.h"

#include "core/preferences.h"
#include "data/data_set.h"

#include <utility>

namespace EntryRow {

namespace {

std::pair<int, int> keysAt(const DataSet& rows, int row)
{
    return {rows.valueAt(row, rows.fieldIndex(u"ct")).toInt(),
            rows.valueAt(row, rows.fieldIndex(u"sb")).toInt()};
}

} // namespace

bool isOpeningRow(const DataSet& rows)
{
    const int current = rows.recNo() - 1;
    if (rows.state() != DataSet::State::Insert)
        return current == 0;
    if (rows.recordCount() == 1)
        return true;
    // The rows are in key order, so the first other row holds the least keys.
    const int firstOther = current == 0 ? 1 : 0;
    const std::pair<int, int> own{rows.asInteger(u"ct"), rows.asInteger(u"sb")};
    return own < keysAt(rows, firstOther);
}

Checks checksOf(const DataSet& rows)
{
    Checks checks{};
    for (int i = 0; i < CheckCount; ++i)
        checks[i] = rows.asInteger(CheckColumns[i]) != 0;
    return checks;
}

bool totalPairEnabled(bool openingRow, bool overhauled)
{
    return openingRow || overhauled;
}

BoxStates boxStates(bool openingRow, const Preferences& preferences, const Checks& rowChecks)
{
    BoxStates states;
    states.clockTimes = !openingRow;
    states.power = !openingRow && (preferences.GliderAdd1 || preferences.GliderAdd2);
    for (int i = 0; i < 3; ++i)
        states.totalPairs[i] = totalPairEnabled(openingRow, rowChecks[i]);
    states.engineStartStopTabStops = !preferences.AutoBlockTime;
    states.checks = rowChecks;
    return states;
}

void stamp(DataSet& rows, const QString& tableName, const Checks& checks)
{
    rows.setValue(u"callsign", tableName.toUpper());
    for (int i = 0; i < CheckCount; ++i)
        rows.setValue(CheckColumns[i], checks[i] ? 1 : 0);
    for (QStringView printed : {u"printed", u"e_printed", u"p_printed"})
        rows.setValue(printed, 0);
}

QString dialogTitle(const QString& tableName, bool newRow)
{
    return QStringLiteral("航空日誌入力 - %1 %2")
        .arg(tableName.toUpper(),
             newRow ? QStringLiteral("(新しい飛行)") : QStringLiteral("(修正)"));
}

} // namespace EntryRow
