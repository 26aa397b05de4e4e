#pragma once

#include "report/page_model.h"

#include <QFont>

// Layouts name the faces of the machine they were drawn on ("ＭＳ Ｐ明朝");
// measuring and drawing both go through here, so a text's printed width is
// the width it was given when the page was laid out.
namespace report {

// The installed face that stands in for a layout's family, at the layout's
// point size.
QFont qtFont(const Font& font);

// The advance width of a text in millimetres on paper, independent of the
// screen the program runs on.
double textWidthMm(const Font& font, const QString& text);

} // namespace report
