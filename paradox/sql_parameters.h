#pragma once

#include "paradox/sql_statement.h"

#include <QList>
#include <QVariant>

namespace paradox::sql {

// A prepared statement with values bound to its ? placeholders, in order.
// Each value becomes the literal it would be written as in the statement's
// text, so that a prepared statement does what the same statement with its
// values written in does; a placeholder without a value is NULL.
Statement withParameters(Statement statement, const QList<QVariant>& values);

} // namespace paradox::sql
