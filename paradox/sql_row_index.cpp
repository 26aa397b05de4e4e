#include "paradox/sql_row_index.h"

#include <algorithm>

namespace paradox::sql {

RowIndex::RowIndex(const QList<Record>& records, int field)
    : records_(records), field_(field), searched_(rising())
{
    if (!searched_)
        hashAll();
}

std::optional<qint64> RowIndex::keyOf(const Row& values) const
{
    if (field_ >= values.size() || !values[field_].isValid())
        return std::nullopt;
    bool ok = false;
    const qint64 key = values[field_].toLongLong(&ok);
    return ok ? std::optional(key) : std::nullopt;
}

bool RowIndex::rising() const
{
    std::optional<qint64> last;
    for (const Record& record : records_) {
        const std::optional<qint64> key = keyOf(record.values);
        if (!key || (last && *key <= *last))
            return false;
        last = key;
    }
    return true;
}

QList<qsizetype> RowIndex::rows(qint64 key) const
{
    if (!searched_)
        return rows_.value(key);
    const auto found = std::lower_bound(
        records_.begin(), records_.end(), key,
        [&](const Record& record, qint64 wanted) { return *keyOf(record.values) < wanted; });
    if (found == records_.end() || *keyOf(found->values) != key)
        return {};
    return {found - records_.begin()};
}

void RowIndex::hashAll()
{
    searched_ = false;
    for (qsizetype row = 0; row < records_.size(); ++row)
        hash(row, records_[row].values);
}

void RowIndex::hash(qsizetype row, const Row& values)
{
    if (const std::optional<qint64> key = keyOf(values)) {
        QList<qsizetype>& rows = rows_[*key];
        rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
    }
}

void RowIndex::added(qsizetype row, const Row& values)
{
    if (searched_) {
        const std::optional<qint64> key = keyOf(values);
        const bool stillRising = key && row == records_.size() &&
                                 (records_.isEmpty() || *key > *keyOf(records_.last().values));
        if (stillRising)
            return;
        hashAll();
    }
    hash(row, values);
}

void RowIndex::changed(qsizetype row, const Row& before, const Row& after)
{
    const std::optional<qint64> oldKey = keyOf(before);
    if (oldKey == keyOf(after))
        return;
    if (searched_)
        hashAll();
    if (oldKey) {
        QList<qsizetype>& rows = rows_[*oldKey];
        rows.removeOne(row);
        if (rows.isEmpty())
            rows_.remove(*oldKey);
    }
    hash(row, after);
}

} // namespace paradox::sql
