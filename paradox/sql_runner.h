#pragma once

#include "paradox/paradox_sql.h"
#include "paradox/sql_statement.h"

namespace paradox::sql {

class TableCache;
class Transaction;

// Runs one parsed statement on the folder's tables, its writes within the
// transaction when one is open.
QueryResult runStatement(TableCache& cache, Transaction& transaction, const Statement& statement);

} // namespace paradox::sql
