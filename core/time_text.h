#pragma once

#include <QString>
#include <optional>

// Time text: every clock time, duration and running total of a log entry is
// text of hours, a colon and minutes ("09:30", "1234:05"). All arithmetic
// reads such text into a signed count of whole minutes and writes text back;
// a zero result is the empty text. The reading rules below are what the
// stores already hold, so they are kept to the letter, quirks included.
namespace MyutyTime {

// A + B. One unreadable operand makes the result empty.
QString TimeAdd(QString a, QString b);

// A - B. One unreadable operand makes the result empty.
QString TimeDiff(QString a, QString b);

// A x percent / 100, rounded to whole minutes with halves to even.
QString TimePercent(QString a, int percent);

// The signed whole minutes of a time text, read as TimeAdd reads it;
// nothing when it is unreadable.
std::optional<qint64> TimeMinutes(const QString& text);

// Whole minutes as time text; zero is the empty text.
QString MinutesText(qint64 minutes);

// Rewrites a typed clock time or duration as "HH:MM" ("930" -> "09:30",
// "12:3" -> "12:00", "" -> "00:00"); text whose hours part has no digit
// gives the empty text.
QString NormalizeTimeText(const QString& typed);

} // namespace MyutyTime
