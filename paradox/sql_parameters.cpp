#include "paradox/sql_parameters.h"

#include "core/error.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace paradox::sql {
namespace {

Literal literalOf(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return {Literal::Kind::Number, value.toBool() ? QStringLiteral("1") : QStringLiteral("0")};
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return {Literal::Kind::Number, value.toString()};
    case QMetaType::QDate:
        return {Literal::Kind::Text, value.toDate().toString(Qt::ISODate)};
    case QMetaType::QTime:
        return {Literal::Kind::Text, value.toTime().toString(Qt::ISODate)};
    case QMetaType::QDateTime:
        return {Literal::Kind::Text, value.toDateTime().toString(Qt::ISODate)};
    case QMetaType::QString:
    case QMetaType::QChar:
        return {Literal::Kind::Text, value.toString()};
    default:
        throw SkelvoError(QStringLiteral("%1 型の値は SQL 文に渡せません。")
                              .arg(QString::fromLatin1(value.typeName())));
    }
}

class Binder
{
public:
    explicit Binder(const QList<QVariant>& values) : values_(values) {}

    void operator()(SelectStatement& statement) const { bind(statement.where); }
    void operator()(InsertStatement& statement) const
    {
        for (Literal& value : statement.values)
            bind(value);
    }
    void operator()(UpdateStatement& statement) const
    {
        for (Assignment& assignment : statement.assignments)
            bind(assignment.value);
        bind(statement.where);
    }
    void operator()(DeleteStatement& statement) const { bind(statement.where); }
    // The others hold no values.
    void operator()(const auto&) const {}

private:
    void bind(Literal& literal) const
    {
        if (literal.kind == Literal::Kind::Parameter)
            literal = literalOf(values_.value(literal.parameter));
    }

    void bind(std::optional<Condition>& condition) const
    {
        if (condition)
            bind(*condition);
    }

    void bind(Condition& condition) const
    {
        bind(condition.value);
        for (Condition& operand : condition.operands)
            bind(operand);
    }

    const QList<QVariant>& values_;
};

} // namespace

Statement withParameters(Statement statement, const QList<QVariant>& values)
{
    std::visit(Binder(values), statement);
    return statement;
}

} // namespace paradox::sql
