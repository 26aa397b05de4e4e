#include "fuzz/journal_table.h"

#include "paradox/paradox_table.h"

#include <QDir>

namespace journaltable {

QString make(const QString& folder)
{
    QDir(folder).mkpath(QStringLiteral("store"));
    const QString path = QDir(folder).filePath(QStringLiteral("store/T.DB"));
    paradox::Table table =
        paradox::Table::create(path, {{QStringLiteral("id"), paradox::FieldType::AutoIncrement, 4},
                                      {QStringLiteral("place"), paradox::FieldType::Alpha, 20},
                                      {QStringLiteral("remarks"), paradox::FieldType::Memo, 11}});
    for (int n = 0; n < 3; ++n) {
        paradox::Row row{QVariant(), QStringLiteral("滑空場 %1").arg(n),
                         QStringLiteral("備考 %1 ").arg(n).repeated(n * 40)};
        table.append(row);
    }
    return path;
}

} // namespace journaltable
