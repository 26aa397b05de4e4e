#pragma once

#include "paradox/paradox_table.h"
#include "paradox/sql_statement.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

// The SQL that the program sends to a folder store, run against the Paradox
// tables in that folder: SELECT, INSERT, UPDATE, DELETE, DROP TABLE and the
// command files' CREATE TABLE and CREATE INDEX.
namespace paradox {

struct QueryResult
{
    QList<Field> columns;  // SELECT only
    QList<Row> rows;       // SELECT only
    int rowsAffected = -1; // INSERT, UPDATE, DELETE: rows written or matched
    QVariant lastInsertId; // INSERT into a table with an AutoIncrement field
    bool isSelect = false;
};

namespace sql {
class TableCache;
class Transaction;
} // namespace sql

// A statement read once, to run many times with values for its ?
// placeholders, as a row-set writes row after row.
struct PreparedStatement
{
    QString text;
    sql::Statement statement;
};

// Runs statements on the tables of one folder. Tables read once stay in
// memory between statements and are read again only when their files
// change, so a run of single-row statements does not read the table each
// time. Not for use from two threads at once.
class SqlEngine
{
public:
    explicit SqlEngine(QString folder);
    ~SqlEngine();
    SqlEngine(SqlEngine&&) noexcept;
    SqlEngine& operator=(SqlEngine&&) noexcept;

    const QString& folder() const;

    // Raises SkelvoError for a statement of another kind, a syntax error,
    // an unknown table or column, a value its column cannot hold, or a
    // failure of the table files; the message ends with the statement.
    QueryResult execute(const QString& statement);

    // Raises SkelvoError for a syntax error; the message ends with the
    // statement.
    static PreparedStatement prepare(const QString& statement);
    // As execute(), with the values for the placeholders in order.
    QueryResult execute(const PreparedStatement& statement, const QList<QVariant>& values);

    // Groups the writes that follow into one change of each table they
    // write: see Table::beginTransaction. Raise SkelvoError when one is
    // open already, or none is, or a table's files cannot be written.
    void beginTransaction();
    void commit();
    void rollBack();

    // The tables in the folder (.DB files, names without extension), sorted.
    QStringList tableNames() const;

    // A table's fields; the name as in a statement (any letter case, .DB
    // optional).
    QList<Field> tableFields(const QString& table) const;

private:
    std::unique_ptr<sql::TableCache> cache_;
    std::unique_ptr<sql::Transaction> transaction_;
};

} // namespace paradox
