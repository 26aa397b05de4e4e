#pragma once

#include "paradox/paradox_table.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>
#include <vector>

// The statements the folder store runs, as the parser reads them. Names are
// kept as written; they are matched to files and fields when the statement
// runs.
namespace paradox::sql {

struct Literal
{
    enum class Kind
    {
        Null,
        Text,
        Number, // text holds it as written, sign included ("-5", "1e+20")
        Boolean,
        Parameter, // ? in a prepared statement, until a value is bound to it
    };

    Kind kind = Kind::Null;
    QString text;
    bool truth = false; // Boolean only
    int parameter = 0;  // Parameter only: the placeholders before it
};

enum class Comparison
{
    Equal,
    NotEqual,
    Less,
    LessOrEqual,
    Greater,
    GreaterOrEqual,
};

// A WHERE condition. The parser turns "5 < ct" around into "ct > 5", so a
// comparison always has its column first.
struct Condition
{
    enum class Kind
    {
        Compare,
        IsNull,
        IsNotNull,
        And,
        Or,
        Not,
    };

    Kind kind = Kind::Compare;
    QString column;                            // Compare, IsNull, IsNotNull
    Comparison comparison = Comparison::Equal; // Compare
    Literal value;                             // Compare
    std::vector<Condition> operands;           // And, Or: two; Not: one
};

struct OrderKey
{
    QString column;
    bool descending = false;
};

struct SelectStatement
{
    QString table;
    bool countRows = false; // SELECT COUNT(*)
    QStringList columns;    // empty for SELECT *
    std::optional<Condition> where;
    QList<OrderKey> orderBy;
};

struct InsertStatement
{
    QString table;
    QStringList columns; // empty: every field in table order
    QList<Literal> values;
};

struct Assignment
{
    QString column;
    Literal value;
};

struct UpdateStatement
{
    QString table;
    QList<Assignment> assignments;
    std::optional<Condition> where;
};

struct DeleteStatement
{
    QString table;
    std::optional<Condition> where;
};

struct DropTableStatement
{
    QString table;
};

struct CreateTableStatement
{
    QString table;
    QList<Field> fields;
};

struct CreateIndexStatement
{
    QString index;
    QString table;
    QStringList columns;
    bool unique = false;
};

// SAVEPOINT name, or ROLLBACK TO [SAVEPOINT] name when rollBack.
struct SavepointStatement
{
    QString name;
    bool rollBack = false;
};

using Statement = std::variant<SelectStatement, InsertStatement, UpdateStatement, DeleteStatement,
                               DropTableStatement, CreateTableStatement, CreateIndexStatement,
                               SavepointStatement>;

} // namespace paradox::sql
