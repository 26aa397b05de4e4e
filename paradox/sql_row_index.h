#pragma once

#include "paradox/paradox_table.h"

#include <QHash>
#include <QList>
#include <optional>

namespace paradox::sql {

// The rows of a table by the value of one integer field, so that a
// statement naming one row ("WHERE id = 5", "WHERE ct = 3 AND sb = 0") finds
// it without testing every row. Rows are their places in the table's record
// list, in table order. Nulls are not listed: they equal nothing.
class RowIndex
{
public:
    RowIndex(const QList<Record>& records, int field);

    QList<qsizetype> rows(qint64 key) const { return rows_.value(key); }

    void added(qsizetype row, const Row& values);
    void changed(qsizetype row, const Row& before, const Row& after);

private:
    std::optional<qint64> keyOf(const Row& values) const;

    int field_;
    QHash<qint64, QList<qsizetype>> rows_;
};

} // namespace paradox::sql
