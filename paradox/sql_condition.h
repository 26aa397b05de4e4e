#pragma once

#include "paradox/paradox_table.h"
#include "paradox/sql_statement.h"
#include "paradox/sql_value.h"

#include <optional>
#include <vector>

namespace paradox::sql {

// A WHERE condition bound to one table: column names are resolved and
// literals converted to their fields' types once, so testing a row only
// compares values.
class RowFilter
{
public:
    // No condition matches every row. Raises SkelvoError for an unknown
    // column or a literal its column cannot hold.
    RowFilter(const std::optional<Condition>& condition, const QList<Field>& fields,
              const QString& table);

    bool matches(const Row& row) const;

    // An integer field and the value it must have for any row to match,
    // when the condition demands one ("id = 5", "ct = 3 AND sb = 0"), so
    // that an index can pick the candidates.
    struct Equality
    {
        int field;
        qint64 value;
    };
    std::optional<Equality> requiredEquality() const;

private:
    enum class Truth
    {
        False,
        True,
        Unknown, // SQL's answer when a null takes part
    };

    struct Node
    {
        Condition::Kind kind = Condition::Kind::Compare;
        int field = -1;
        ValueClass valueClass = ValueClass::Integer;
        Comparison comparison = Comparison::Equal;
        QVariant value;
        std::vector<Node> operands;
    };

    static Node bind(const Condition& condition, const QList<Field>& fields, const QString& table);
    static Truth evaluate(const Node& node, const Row& row);
    static Truth compare(const Node& node, const Row& row);
    static std::optional<Equality> requiredEquality(const Node& node);

    std::optional<Node> root_;
};

} // namespace paradox::sql
