#pragma once

class QWidget;

// Column widths in layout files and the default columns are pixels of the
// Windows grid they were made for: a 9-point UI font whose digits are 6
// pixels wide, with 2 pixels of margin either side of a cell's text. This
// turns them into pixels of a grid here, with its own font and style, so
// that a column made to hold "2009" or "12:30" still holds it.
int layoutWidthToPixels(const QWidget& grid, int layoutWidth);
