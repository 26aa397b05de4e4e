#pragma once

#include "tests/testsupport/pxlib_writer.h"

namespace pxwrite {

// A table of the older edition as pxlib writes it: "no", "Mark", "Year" ...
// "AirWth" (40 fields), and "TPlass" with the power time (41). Each row is
// the same flight (no 1, 2, ...): Mark "OLD", Japanese crew, an empty page
// number, Ovh true, Printed false, the remark "true", Epage 3, BlockT
// "0:40" and TPlass "1:05". Gives the path.
QString writeOldEditionTable(const QString& path, bool powerTime, int rows);

// The same layout with the power time and one row (no 1, Mark "OLD") whose
// every field from "Year" on holds a value no other field holds: a text
// field its own name, a number field its position in the table, the logical
// fields true and false by turns. Gives the path.
QString writeDistinctOldEditionTable(const QString& path);

} // namespace pxwrite
