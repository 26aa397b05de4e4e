#pragma once

#include <QRect>

// Where the main window goes at start-up: the stored placement, brought
// onto the screen when it does not fit there (a screen removed since, a
// hand-edited settings file). The position is the frame's top-left corner,
// the size the window's inner size, as Qt moves and resizes a window.
namespace WindowPlacement {

// Sizes larger than the available area shrink to it, positions move the
// least that brings the whole window inside it; a size of nothing takes the
// default size.
QRect fitOnScreen(const QRect& stored, const QRect& available);

} // namespace WindowPlacement
