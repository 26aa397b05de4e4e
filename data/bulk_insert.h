#pragma once

#include "data/statement_values.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

// Appends many rows to one table as one statement prepared once, inside one
// transaction where the store has them. The outcome is that of one
// statement per row: a row the store refuses ends the work, the rows before
// it are kept (committed), it and the rest are not written.
class BulkInsert
{
public:
    // Raises SkelvoError when the statement cannot be prepared. Values
    // travel as the store's dialect says.
    BulkInsert(const QString& connectionName, const QString& table, const QStringList& columns,
               const StoreDialect& dialect);
    // Keeps the rows written so far.
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
    // Keeps the rows before, then raises.
    [[noreturn]] void refuse(const QString& reason);

    QSqlDatabase db_;
    StatementValues values_;
    QStringList columns_;
    QString head_; // INSERT INTO t (columns) VALUES (
    QSqlQuery query_;
    bool inTransaction_ = false;
};
