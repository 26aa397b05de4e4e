#pragma once

#include "maintenance/maintenance_rules.h"

#include <vector>

class DataSet;

namespace Maintenance {

// Every row of the row-set in its order, read in place: the current row does
// not move and a row being typed is not posted. Empty when it is not open.
std::vector<RowFacts> rowFacts(const DataSet& rows);

} // namespace Maintenance
