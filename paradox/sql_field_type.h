#pragma once

#include "paradox/paradox_table.h"

namespace paradox::sql {

class TokenReader;

// Reads the type of a CREATE TABLE column (CHAR(16), INTEGER, BLOB(40,1), …)
// into the Paradox field it stands for, with the field's size in the record.
Field readFieldType(TokenReader& reader, const QString& fieldName);

} // namespace paradox::sql
