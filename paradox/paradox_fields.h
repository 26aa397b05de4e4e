#pragma once

#include "paradox/paradox_table.h"

#include <QSqlRecord>

namespace paradox {

// The Qt type a field's values arrive as.
QMetaType metaTypeOf(FieldType type);

QSqlRecord sqlRecordOf(const QList<Field>& fields);

} // namespace paradox
