#pragma once

#include <QString>
#include <optional>

// What leaving one of the entry dialog's four clock-time boxes does: the box
// left is rewritten as HH:MM, and block and flight time follow from the
// boxes as they then read. With automatic start/stop the engine-start and
// engine-stop times are derived from take-off and landing.
namespace ClockTimes {

enum class Box
{
    EngineStart, // outtime
    TakeOff,     // offtime
    Landing,     // ontime
    EngineStop,  // intime
};

// The four boxes' texts as shown.
struct Boxes
{
    QString engineStart;
    QString takeOff;
    QString landing;
    QString engineStop;

    bool operator==(const Boxes&) const = default;
};

struct AutoStartStop
{
    bool on = false;
    QString offset = QStringLiteral("00:05");
};

struct Leave
{
    Boxes boxes;                       // the box left normalised, derived times filled in
    std::optional<QString> blocktime;  // set when the block time is computed
    std::optional<QString> flighttime; // also the engine's and propeller's air time
};

Leave leaveBox(Box left, Boxes boxes, const AutoStartStop& autoStartStop);

// The power box carries a signed duration: a leading "-" subtracts. The rest
// is normalised as a typed time; an empty box stays empty (a zero duration
// is no text), and a minus before zero is dropped.
QString normalizePowerTime(const QString& typed);

} // namespace ClockTimes
