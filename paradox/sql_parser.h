#pragma once

#include "paradox/sql_statement.h"

#include <QString>

namespace paradox::sql {

// Reads one statement (a trailing ';' is allowed). Raises SkelvoError for a
// statement of another kind, naming it, or for a syntax error, naming what
// is wrong and where.
Statement parseStatement(const QString& text);

} // namespace paradox::sql
