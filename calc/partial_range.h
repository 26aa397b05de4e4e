#pragma once

#include <QString>
#include <optional>

class DataSet;

// A range of rows marked in the log grid, whose block and flight times are
// summed. The marks are record numbers; 0 means unset.
struct PartialRange
{
    int PartStart = 0;
    int PartEnd = 0;

    // A start placed after the end extends the range to the current row; an
    // end placed before the start swaps the marks.
    void markStart(int recNo);
    void markEnd(int recNo);
    void release() { PartStart = PartEnd = 0; }

    // Whether a row is drawn as part of the range.
    bool contains(int recNo) const;
};

struct RangeSums
{
    QString blockTime;
    QString flightTime;
};

// The sums of the marked rows, from the start mark to the end mark, or to
// the last row while only the start is set. Nothing without a start mark.
// The current row is the same afterwards.
std::optional<RangeSums> CalcPart(DataSet& rows, const PartialRange& range);
