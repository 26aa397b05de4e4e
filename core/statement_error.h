#pragma once

#include <QString>

// A store's message about a statement it refused, with the statement named
// once: a message that names it already is left as it is. Long statements
// are shortened, so that the message still fits a message box.
QString statementError(const QString& message, const QString& statement);
