#pragma once

#include <QString>
#include <array>

class DataSet;
struct Preferences;

// What the entry dialog decides from the row it is shown for, and what
// saving writes into the row besides the boxes.
namespace EntryRow {

// The overhaul and inspection check boxes in their order: airframe, engine,
// propeller overhaul, airworthiness inspection; and their columns.
inline constexpr int CheckCount = 4;
using Checks = std::array<bool, CheckCount>;
inline constexpr std::array<QStringView, CheckCount> CheckColumns{u"ovh", u"e_ovh", u"p_ovh",
                                                                  u"airworthiness"};

// Whether the current row is, or will be once posted, the first row in key
// order: the opening row that carries the starting totals. A row being
// inserted is placed by its keys, not by where it stands for now, since it
// takes its place among the others when the table is read again.
bool isOpeningRow(const DataSet& rows);

Checks checksOf(const DataSet& rows);

// Which boxes the dialog enables for a row.
struct BoxStates
{
    bool clockTimes = true;              // engine start, take-off, landing, stop
    bool power = false;                  // the power box (motor gliders)
    std::array<bool, 3> totalPairs{};    // airframe, engine, propeller totals
    bool engineStartStopTabStops = true; // skipped when derived automatically
    Checks checks{};
};

BoxStates boxStates(bool openingRow, const Preferences& preferences, const Checks& rowChecks);

// A total pair is open for typing on the opening row (its starting totals)
// and on a row that overhauls the component (its totals start again).
bool totalPairEnabled(bool openingRow, bool overhauled);

// The dialog's caption: what it is, the aircraft, and whether the row is a
// new flight or one being corrected.
QString dialogTitle(const QString& tableName, bool newRow);

// Saving: the registration mark, the check boxes' flags, and the printed
// marks cleared so that the entry is printed again.
void stamp(DataSet& rows, const QString& tableName, const Checks& checks);

} // namespace EntryRow
