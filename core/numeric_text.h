#pragma once

#include <QStringView>

namespace Myutyfunc {

// True when the text starts with one of "+,-.0123456789Ee".
bool IsNumericText(QStringView text);

} // namespace Myutyfunc
