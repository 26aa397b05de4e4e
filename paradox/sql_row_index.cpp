#include "paradox/sql_row_index.h"

#include <algorithm>

namespace paradox::sql {

RowIndex::RowIndex(const QList<Record>& records, int field) : field_(field)
{
    for (qsizetype row = 0; row < records.size(); ++row)
        added(row, records[row].values);
}

std::optional<qint64> RowIndex::keyOf(const Row& values) const
{
    if (field_ >= values.size() || !values[field_].isValid())
        return std::nullopt;
    bool ok = false;
    const qint64 key = values[field_].toLongLong(&ok);
    return ok ? std::optional(key) : std::nullopt;
}

void RowIndex::added(qsizetype row, const Row& values)
{
    if (const std::optional<qint64> key = keyOf(values)) {
        QList<qsizetype>& rows = rows_[*key];
        rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
    }
}

void RowIndex::changed(qsizetype row, const Row& before, const Row& after)
{
    const std::optional<qint64> oldKey = keyOf(before);
    if (oldKey == keyOf(after))
        return;
    if (oldKey) {
        QList<qsizetype>& rows = rows_[*oldKey];
        rows.removeOne(row);
        if (rows.isEmpty())
            rows_.remove(*oldKey);
    }
    added(row, after);
}

} // namespace paradox::sql
