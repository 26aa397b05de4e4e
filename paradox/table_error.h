#pragma once

#include <QString>

namespace paradox::codec {

// Raises the error every table problem is reported with: the file's name and
// what is wrong with it.
[[noreturn]] void raiseTableError(const QString& fileName, const QString& problem);

} // namespace paradox::codec
