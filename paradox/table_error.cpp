#include "paradox/table_error.h"

#include "core/error.h"

namespace paradox::codec {

void raiseTableError(const QString& fileName, const QString& problem)
{
    throw SkelvoError(QStringLiteral("テーブル %1: %2").arg(fileName, problem));
}

} // namespace paradox::codec
