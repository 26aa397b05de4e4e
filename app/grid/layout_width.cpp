#include "app/grid/layout_width.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr double LayoutDigitWidth = 6.0;
constexpr int LayoutTextMargins = 4;

} // namespace

int layoutWidthToPixels(const QWidget& grid, int layoutWidth)
{
    const double digit = QFontMetrics(grid.font()).horizontalAdvance(u'0');
    // A cell's text sits inside the focus frame's margin on both sides and
    // the grid line.
    const int margins =
        2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1) + 1;
    const double scale = std::max(1.0, digit / LayoutDigitWidth);
    return int(std::ceil((layoutWidth - LayoutTextMargins) * scale)) + margins;
}
