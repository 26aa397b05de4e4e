#include "core/numeric_text.h"

namespace Myutyfunc {

bool IsNumericText(QStringView text)
{
    static constexpr QStringView NumericCharacters = u"+,-.0123456789Ee";
    return !text.isEmpty() && NumericCharacters.contains(text.front());
}

} // namespace Myutyfunc
