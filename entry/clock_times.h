#pragma once

#include <QList>
#include <QString>
#include <array>
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
inline constexpr int BoxCount = 4;

// The boxes' names as the dialog labels them.
QString nameOf(Box box);

// The four boxes' texts as shown.
struct Boxes
{
    QString engineStart;
    QString takeOff;
    QString landing;
    QString engineStop;

    bool operator==(const Boxes&) const = default;
    std::array<QString, BoxCount> inOrder() const
    {
        return {engineStart, takeOff, landing, engineStop};
    }
};

struct AutoStartStop
{
    bool on = false;
    QString offset = QStringLiteral("00:05");
};

// A clock-time box holds a time of day or nothing. The text is read as typed
// times always were ("930" is 09:30, "9:30" too; full-width digits count),
// then must be 00:00 to 23:59. Gives the box's text ("" for a blank box), or
// nothing when the text is no time of day.
std::optional<QString> timeOfDay(const QString& typed);

// How long from one time of day to another. A later time that reads earlier
// is on the next day, so a flight across midnight counts its real length;
// equal times give the empty text.
QString duration(const QString& from, const QString& to);

struct Leave
{
    Boxes boxes;                       // the box left normalised, derived times filled in
    std::optional<QString> blocktime;  // set when the block time is computed
    std::optional<QString> flighttime; // also the engine's and propeller's air time
};

// The box left must hold a time of day or nothing (timeOfDay); the dialog
// refuses any other text before it gets here.
Leave leaveBox(Box left, Boxes boxes, const AutoStartStop& autoStartStop);

// Whether the times given (blank boxes aside) run engine start, take-off,
// landing, engine stop, within twelve hours of each other.
struct Order
{
    QList<std::pair<Box, Box>> reversed; // each pair of neighbouring times given backwards
    bool overTwelveHours = false;        // from the first time given to the last

    bool holds() const { return reversed.isEmpty() && !overTwelveHours; }
    // The box to return to: the first of the first pair given backwards,
    // else the first time given.
    Box firstBox(const Boxes& boxes) const;
    // The question put to the user, naming the boxes and their times.
    QString question(const Boxes& boxes) const;
};
Order checkOrder(const Boxes& boxes);

// A running total as typed into its box: digits as on paper ("12345" is
// 123:45) or hours, a colon and two minute digits, rewritten as HH:MM. Gives
// nothing for other text, which the rewriting would empty or cut.
std::optional<QString> typedDuration(const QString& typed);

// The power box carries a signed duration: a leading "-" subtracts. The rest
// is read as a typed duration; an empty box stays empty (a zero duration is
// no text), and a minus before zero is dropped. Nothing for other text.
std::optional<QString> normalizePowerTime(const QString& typed);

} // namespace ClockTimes
