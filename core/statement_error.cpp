#include "core/statement_error.h"

namespace {

const QString StatementLabel = QStringLiteral("SQL 文: ");
constexpr qsizetype MaxShown = 300;

} // namespace

QString statementError(const QString& message, const QString& statement)
{
    if (message.contains(StatementLabel))
        return message;
    const QString text = statement.simplified();
    const QString shown = text.size() > MaxShown ? text.left(MaxShown) + u'…' : text;
    return message + u'\n' + StatementLabel + shown;
}
