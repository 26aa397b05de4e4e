#include "entry/clock_times.h"

#include "core/time_text.h"

using MyutyTime::NormalizeTimeText;
using MyutyTime::TimeAdd;
using MyutyTime::TimeDiff;

namespace ClockTimes {

namespace {

QString& boxText(Boxes& boxes, Box box)
{
    switch (box) {
    case Box::EngineStart:
        return boxes.engineStart;
    case Box::TakeOff:
        return boxes.takeOff;
    case Box::Landing:
        return boxes.landing;
    case Box::EngineStop:
        break;
    }
    return boxes.engineStop;
}

void blockTime(Leave& leave)
{
    if (!leave.boxes.engineStart.isEmpty() && !leave.boxes.engineStop.isEmpty())
        leave.blocktime = TimeDiff(leave.boxes.engineStop, leave.boxes.engineStart);
}

} // namespace

Leave leaveBox(Box left, Boxes boxes, const AutoStartStop& autoStartStop)
{
    QString& own = boxText(boxes, left);
    own = NormalizeTimeText(own);
    Leave leave{boxes, {}, {}};
    Boxes& b = leave.boxes;
    switch (left) {
    case Box::EngineStart:
    case Box::EngineStop:
        blockTime(leave);
        break;
    case Box::TakeOff:
    case Box::Landing:
        if (!b.takeOff.isEmpty() && !b.landing.isEmpty())
            leave.flighttime = TimeDiff(b.landing, b.takeOff);
        if (!autoStartStop.on)
            break;
        // Take-off does not recompute the block time; landing does, from
        // the engine stop it has just derived.
        if (left == Box::TakeOff) {
            b.engineStart = TimeDiff(b.takeOff, autoStartStop.offset);
        } else {
            b.engineStop = TimeAdd(b.landing, autoStartStop.offset);
            blockTime(leave);
        }
        break;
    }
    return leave;
}

QString normalizePowerTime(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    const bool negative = text.startsWith(u'-');
    const QString value = NormalizeTimeText(negative ? text.mid(1) : text);
    if (value.isEmpty() || !negative || TimeAdd(value, {}).isEmpty())
        return value;
    return u'-' + value;
}

} // namespace ClockTimes
