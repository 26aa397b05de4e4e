#pragma once

#include <QString>
#include <QStringList>

namespace Myutyfunc {

// Puts the text at the top of a history list (most recent first), dropping
// blank entries and earlier entries equal to it ignoring the case of A-Z. A
// blank text is never added. Returns the text unchanged.
QString AddHistoryItem(const QString& text, QStringList& list);

} // namespace Myutyfunc
