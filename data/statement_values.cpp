#include "data/statement_values.h"

#include <QSqlDriver>
#include <QSqlQuery>

void StatementValues::probe(const QSqlDatabase& db)
{
    literalValues_ = db.driverName() == QLatin1String("QODBC");
    backslashEscapes_ = false;
    nationalLiterals_ = db.driver() && db.driver()->dbmsType() == QSqlDriver::MSSqlServer;
    if (!literalValues_)
        return;
    // A MySQL-family server behind ODBC reads a backslash as an escape, SQL
    // Server does not.
    QSqlQuery probe(db);
    backslashEscapes_ = probe.exec(QStringLiteral("SELECT '\\\\'")) && probe.next() &&
                        probe.value(0).toString().size() == 1;
}

QString StatementValues::place(QVariantList& bound, const QVariant& value) const
{
    if (literalValues_)
        return literal(value);
    bound.append(value);
    return QStringLiteral("?");
}

QString StatementValues::literal(const QVariant& value) const
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
        break;
    }
    QString text = value.toString();
    text.remove(QChar(u'\0')); // no store keeps it, and it would end the text early
    if (backslashEscapes_)
        text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\'', QStringLiteral("''"));
    return (nationalLiterals_ ? QStringLiteral("N'") : QStringLiteral("'")) + text + u'\'';
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
