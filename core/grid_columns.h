#pragma once

#include <QLatin1StringView>
#include <span>

// The log grid's columns as the program first shows them: every data
// column of the log record, in this display order, with these widths
// (-1: the width the grid derives from the field). Titles come from the
// log record.
namespace GridColumns {

struct DefaultColumn
{
    QLatin1StringView fieldName;
    int width;
};

std::span<const DefaultColumn> defaults();

} // namespace GridColumns
