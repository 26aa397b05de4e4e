#include "paradox/sql_condition.h"

namespace paradox::sql {

RowFilter::RowFilter(const std::optional<Condition>& condition, const QList<Field>& fields,
                     const QString& table)
{
    if (condition)
        root_ = bind(*condition, fields, table);
}

bool RowFilter::matches(const Row& row) const
{
    return !root_ || evaluate(*root_, row) == Truth::True;
}

std::optional<RowFilter::Equality> RowFilter::requiredEquality() const
{
    return root_ ? requiredEquality(*root_) : std::nullopt;
}

std::optional<RowFilter::Equality> RowFilter::requiredEquality(const Node& node)
{
    if (node.kind == Condition::Kind::And) {
        if (const std::optional<Equality> left = requiredEquality(node.operands[0]))
            return left;
        return requiredEquality(node.operands[1]);
    }
    if (node.kind != Condition::Kind::Compare || node.comparison != Comparison::Equal ||
        node.valueClass != ValueClass::Integer || !node.value.isValid())
        return std::nullopt;
    return Equality{node.field, node.value.toLongLong()};
}

RowFilter::Node RowFilter::bind(const Condition& condition, const QList<Field>& fields,
                                const QString& table)
{
    Node node;
    node.kind = condition.kind;
    for (const Condition& operand : condition.operands)
        node.operands.push_back(bind(operand, fields, table));
    if (condition.column.isEmpty())
        return node;
    node.field = requireField(fields, condition.column, table);
    const Field& field = fields[node.field];
    node.valueClass = valueClass(field.type);
    node.comparison = condition.comparison;
    if (condition.kind == Condition::Kind::Compare)
        node.value = fieldValue(condition.value, field);
    return node;
}

RowFilter::Truth RowFilter::evaluate(const Node& node, const Row& row)
{
    switch (node.kind) {
    case Condition::Kind::Compare:
        return compare(node, row);
    case Condition::Kind::IsNull:
    case Condition::Kind::IsNotNull: {
        const bool null = node.field >= row.size() || isNullValue(row[node.field], node.valueClass);
        return null == (node.kind == Condition::Kind::IsNull) ? Truth::True : Truth::False;
    }
    case Condition::Kind::Not: {
        const Truth inner = evaluate(node.operands[0], row);
        return inner == Truth::Unknown ? inner : inner == Truth::True ? Truth::False : Truth::True;
    }
    case Condition::Kind::And:
    case Condition::Kind::Or: {
        // AND stops at the first false, OR at the first true.
        const Truth decisive = node.kind == Condition::Kind::And ? Truth::False : Truth::True;
        const Truth left = evaluate(node.operands[0], row);
        if (left == decisive)
            return left;
        const Truth right = evaluate(node.operands[1], row);
        if (right == decisive)
            return right;
        return left == Truth::Unknown || right == Truth::Unknown ? Truth::Unknown : left;
    }
    }
    return Truth::Unknown;
}

RowFilter::Truth RowFilter::compare(const Node& node, const Row& row)
{
    // "= NULL" is never true, not even in text fields where null and the
    // empty text are one value.
    if (!node.value.isValid() || node.field >= row.size())
        return Truth::Unknown;
    const std::optional<int> order = compareValues(row[node.field], node.value, node.valueClass);
    if (!order)
        return Truth::Unknown;
    bool holds = false;
    switch (node.comparison) {
    case Comparison::Equal:
        holds = *order == 0;
        break;
    case Comparison::NotEqual:
        holds = *order != 0;
        break;
    case Comparison::Less:
        holds = *order < 0;
        break;
    case Comparison::LessOrEqual:
        holds = *order <= 0;
        break;
    case Comparison::Greater:
        holds = *order > 0;
        break;
    case Comparison::GreaterOrEqual:
        holds = *order >= 0;
        break;
    }
    return holds ? Truth::True : Truth::False;
}

} // namespace paradox::sql
