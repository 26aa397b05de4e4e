#pragma once

#include "paradox/paradox_sql.h"
#include "paradox/sql_statement.h"

namespace paradox::sql {

class TableCache;

// Runs one parsed statement on the folder's tables.
QueryResult runStatement(TableCache& cache, const Statement& statement);

} // namespace paradox::sql
