#pragma once

#include "data/field_flags.h"

#include <QList>
#include <QVariant>
#include <algorithm>

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
    // After a write: a row whose values are exactly what the table holds
    // (type and null alike) keeps one copy of them again.
    void settle()
    {
        const auto same = [](const QVariant& a, const QVariant& b) {
            return a.metaType() == b.metaType() && a.isNull() == b.isNull() && a == b;
        };
        if (std::equal(values.cbegin(), values.cend(), stored.cbegin(), stored.cend(), same))
            stored = values;
    }
};
