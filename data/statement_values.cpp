#include "data/statement_values.h"

QString StatementValues::place(QVariantList& bound, const QVariant& value) const
{
    if (literal_)
        return literal_(value);
    bound.append(value);
    return QStringLiteral("?");
}

QString unstorableValueProblem(const QString& column, const QVariant& value)
{
    if (value.typeId() == QMetaType::QString && value.toString().contains(QChar(u'\0')))
        return QStringLiteral("列「%1」: 文字列に NUL 文字があります。").arg(column);
    return {};
}

std::optional<QString> commonLiteral(const QVariant& value)
{
    if (value.isNull())
        return QStringLiteral("NULL");
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return std::nullopt;
    }
}

QVariant bindable(const QVariant& value)
{
    // A typed null travels as SQL NULL through every driver.
    return value.isNull() ? QVariant(QMetaType::fromType<QString>()) : value;
}

QString errorText(const QSqlError& error)
{
    return error.text().isEmpty() ? QStringLiteral("不明なエラー") : error.text();
}
