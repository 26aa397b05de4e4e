#include "report/page_model.h"

namespace report {

// Layout pens count in steps of a fine drawing line, so pen 1 rules a flight
// line and pen 2 the heavier frame, on any printer's resolution.
double penWidthMm(int pen)
{
    constexpr double MmPerPenStep = 0.2;
    return pen > 0 ? pen * MmPerPenStep : 0.0;
}

} // namespace report
