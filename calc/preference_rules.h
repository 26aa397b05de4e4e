#pragma once

#include <QList>
#include <QString>

// The rules behind the preferences dialog that do not depend on its widgets:
// which counting options exclude each other and how the start/stop offset is
// kept as text.
namespace preference_rules {

// The counting options that take part in the exclusions, named after their
// Preferences fields.
enum class CountingOption
{
    E_IncGround, // engine time includes ground time
    P_IncGround, // propeller time includes ground time
    GliderAdd1,  // the power-off value is added to engine and propeller time
    GliderAdd2,  // engine and propeller time is the power-on value
    RussianSys,  // a share of the ground time is added
};

// The options switched off when `option` is switched on. Switching an option
// off affects nothing. The relation is mutual, so the options on never
// conflict once every switch-on has been applied in turn.
QList<CountingOption> clearedBySwitchingOn(CountingOption option);

constexpr int MinOffsetMinutes = 0;
constexpr int MaxOffsetMinutes = 59;

// Minutes of an offset text: the two characters after "hh:" (so "00:05" and
// "0:07" both give their minutes; hours are not kept). Text that is no number
// there gives 0; a number outside 0-59 is brought to the nearest limit.
int offsetMinutesFromText(const QString& offsetText);

// The stored form of an offset of `minutes` (0-59): "00:05" for 5.
QString offsetTextFromMinutes(int minutes);

} // namespace preference_rules
