#include "calc/preference_rules.h"

#include <algorithm>

namespace preference_rules {

QList<CountingOption> clearedBySwitchingOn(CountingOption option)
{
    using enum CountingOption;
    switch (option) {
    case E_IncGround:
    case P_IncGround:
        // The power-on time replaces engine and propeller time outright, so
        // adding ground time to it would mean nothing.
        return {GliderAdd2};
    case GliderAdd1:
        return {GliderAdd2, RussianSys};
    case GliderAdd2:
        return {E_IncGround, P_IncGround, GliderAdd1, RussianSys};
    case RussianSys:
        return {GliderAdd1, GliderAdd2};
    }
    return {};
}

int offsetMinutesFromText(const QString& offsetText)
{
    // Positions 4 and 5 of the text, counting from 1; a short text such as
    // "0:07" leaves only the last digit there.
    bool ok = false;
    const int minutes = offsetText.mid(3, 2).toInt(&ok);
    if (!ok)
        return MinOffsetMinutes;
    return std::clamp(minutes, MinOffsetMinutes, MaxOffsetMinutes);
}

QString offsetTextFromMinutes(int minutes)
{
    return QString::asprintf("00:%.2d", minutes);
}

} // namespace preference_rules
