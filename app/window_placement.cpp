#include "app/window_placement.h"

#include "core/settings_keys.h"

#include <algorithm>

namespace WindowPlacement {

QRect fitOnScreen(const QRect& stored, const QRect& available)
{
    QSize size = stored.size();
    if (size.width() <= 0 || size.height() <= 0)
        size = {Settings::WindowsWidth.defaultValue, Settings::WindowsHeight.defaultValue};
    size = size.boundedTo(available.size());
    const int left =
        std::clamp(stored.left(), available.left(), available.right() - size.width() + 1);
    const int top =
        std::clamp(stored.top(), available.top(), available.bottom() - size.height() + 1);
    return {QPoint(left, top), size};
}

} // namespace WindowPlacement
