#pragma once

#include <QString>
#include <optional>

// The date of a flight as its two boxes hold it: the year in four digits,
// the month and day as MMDD. Anything else would sort and print the entry
// in the wrong place of a legal record, so it is refused, not stored.
namespace EntryDate {

enum class Box
{
    Year,     // yyyy
    MonthDay, // mmdd
};

struct Problem
{
    Box box;
    QString message; // names the box and what was typed
};

// Nothing when the two texts make a real date.
std::optional<Problem> check(const QString& year, const QString& monthDay);

} // namespace EntryDate
