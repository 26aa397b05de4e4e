#include "data/statement_values.h"

#include "core/error.h"
#include "core/text_encoding.h"

QString StatementValues::place(QVariantList& bound, const QVariant& value) const
{
    if (literal_)
        return literal_(value);
    bound.append(value);
    return QStringLiteral("?");
}

namespace {

// The text's size in the limit's unit; within the limit without counting
// when it cannot be longer.
qsizetype measured(const QString& text, TextLimit limit)
{
    if (limit.inCp932Bytes) {
        if (text.size() * 2 <= limit.size)
            return text.size();
        try {
            return TextEncoding::encode(text, "CP932").size();
        } catch (const SkelvoError&) {
            return 0; // left for the store to refuse by the character
        }
    }
    return text.size() <= limit.size ? text.size() : QStringView(text).toUcs4().size();
}

} // namespace

QString unstorableValueProblem(const QString& column, const QVariant& value, TextLimit limit)
{
    if (value.typeId() != QMetaType::QString)
        return {};
    const QString text = value.toString();
    if (text.contains(QChar(u'\0')))
        return QStringLiteral("列「%1」: 文字列に NUL 文字があります。").arg(column);
    if (limit.size <= 0)
        return {};
    const qsizetype size = measured(text, limit);
    if (size <= limit.size)
        return {};
    const QString unit = limit.inCp932Bytes ? QStringLiteral("バイト") : QStringLiteral("文字");
    return QStringLiteral("列「%1」: 文字列が長すぎます。%2 %3までです (%4 %3)。")
        .arg(column, QString::number(limit.size), unit, QString::number(size));
}

bool isPlainName(const QString& name)
{
    const auto plain = [](QChar c, bool first) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_' ||
               (!first && c >= u'0' && c <= u'9');
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!plain(name[i], i == 0))
            return false;
    }
    return true;
}

QString quotedName(const QString& name, QChar quote)
{
    QString inside = name;
    inside.replace(quote, QString(2, quote));
    return quote + inside + quote;
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
