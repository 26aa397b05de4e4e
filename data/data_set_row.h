#pragma once

#include "data/field_flags.h"

#include <QList>
#include <QVariant>

// One row held by a row-set. Rows are shared so that bookmarks and pending
// changes can refer to a row that has moved or left the visible rows.
struct DataSetRow
{
    enum class Pending
    {
        None,
        Insert,
        Update,
        Delete,
    };

    QList<QVariant> values;
    // As the table holds the row; empty until written. A value the table
    // chose itself (a default, the row number) is invalid, not null: unknown.
    QList<QVariant> stored;
    qsizetype position = 0; // index among the visible rows
    Pending pending = Pending::None;
    WriteSettings pendingSettings; // as they were when the held change was posted

    bool inStore() const { return !stored.isEmpty(); }
};
