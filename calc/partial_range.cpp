#include "calc/partial_range.h"

#include "core/time_text.h"
#include "data/held_position.h"

void PartialRange::markStart(int recNo)
{
    if (PartEnd > 0 && PartEnd < recNo)
        PartEnd = recNo;
    else
        PartStart = recNo;
}

void PartialRange::markEnd(int recNo)
{
    if (PartStart > 0 && recNo < PartStart) {
        PartEnd = PartStart;
        PartStart = recNo;
    } else {
        PartEnd = recNo;
    }
}

bool PartialRange::contains(int recNo) const
{
    return recNo == PartStart || recNo == PartEnd ||
           (PartStart >= 1 && PartEnd >= 1 && PartStart < recNo && recNo <= PartEnd);
}

std::optional<RangeSums> CalcPart(DataSet& rows, const PartialRange& range)
{
    // An end mark alone marks no rows to sum.
    if (!rows.isOpen() || rows.isEmpty() || range.PartStart < 1)
        return std::nullopt;
    const HeldPosition held(rows);
    rows.setRecNo(range.PartStart);
    RangeSums sums{rows.asString(u"blocktime"), rows.asString(u"flighttime")};
    if (range.PartStart != range.PartEnd) {
        for (rows.next(); !rows.eof(); rows.next()) {
            sums.blockTime = MyutyTime::TimeAdd(sums.blockTime, rows.asString(u"blocktime"));
            sums.flightTime = MyutyTime::TimeAdd(sums.flightTime, rows.asString(u"flighttime"));
            if (rows.recNo() == range.PartEnd)
                break;
        }
    }
    if (rows.writeBack() == DataSet::WriteBack::Cached)
        rows.applyUpdates();
    return sums;
}
