#pragma once

#include "data/statement_values.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// What becomes of the rows a table holds when rows are added to it.
enum class ExistingRows
{
    Kept,
    Replaced, // removed in the same transaction as the new rows are added
};

// Appends many rows to one table as one statement prepared once, inside one
// transaction where the store has them. When the table's rows are kept, the
// outcome is that of one statement per row: a row the store refuses ends the
// work, the rows before it are kept (committed), it and the rest are not
// written. When they are replaced, it is all or nothing: a refused row, or
// work that never finishes (the program killed), leaves the table as it was.
class BulkInsert
{
public:
    // Raises SkelvoError when the statement cannot be prepared or the rows
    // cannot be removed. Values travel as the store's dialect says.
    BulkInsert(const QString& connectionName, const QString& table, const QStringList& columns,
               const StoreDialect& dialect, ExistingRows existing = ExistingRows::Kept);
    // Keeps the rows written so far; replacing rows, keeps none of it.
    ~BulkInsert();
    BulkInsert(const BulkInsert&) = delete;
    BulkInsert& operator=(const BulkInsert&) = delete;

    // One row, its values in the columns' order. Raises SkelvoError with the
    // store's reason when the row is refused (or with the column of a value
    // no store keeps whole), after keeping the rows before.
    void insert(const QVariantList& values);
    // Keeps the rows written; raises SkelvoError when the store cannot.
    void finish();

private:
    // Keeps the rows before (or, replacing rows, none of the work), then
    // raises.
    [[noreturn]] void refuse(const QString& reason);
    void rollBack();

    QSqlDatabase db_;
    StatementValues values_;
    QStringList columns_;
    QList<TextLimit> textLimits_; // one a column
    QString head_;                // INSERT INTO t (columns) VALUES (
    QSqlQuery query_;
    ExistingRows existing_;
    bool inTransaction_ = false;
};
