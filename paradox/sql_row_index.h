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
//
// A field whose values rise through the table, as the numbers the table
// gives its rows do, is searched by halving the list itself; only another
// field is hashed, once, when a statement first asks for it.
class RowIndex
{
public:
    // The records must outlive the index and change only as it is told.
    RowIndex(const QList<Record>& records, int field);

    QList<qsizetype> rows(qint64 key) const;

    // Before the record list takes the change.
    void added(qsizetype row, const Row& values);
    void changed(qsizetype row, const Row& before, const Row& after);

private:
    std::optional<qint64> keyOf(const Row& values) const;
    bool rising() const;
    void hashAll();
    void hash(qsizetype row, const Row& values);

    const QList<Record>& records_;
    int field_;
    bool searched_; // the records rise by the field: no hash
    QHash<qint64, QList<qsizetype>> rows_;
};

} // namespace paradox::sql
