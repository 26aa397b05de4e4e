#pragma once

#include "report/page_model.h"

class QPainter;
class QPrinter;

namespace report {

// Draws one page on a painter whose device holds the model's paper. The
// painter is scaled from its device's resolution to millimetres, on top of
// any transform already set (a preview's zoom); texts hang from the top of
// their boxes, narrowed by their horizontal scale.
void renderPage(QPainter& painter, const PageModel& model, int pageIndex);

// Every page to a printer set up for the model's paper; false when the
// printer cannot be started.
bool printModel(const PageModel& model, QPrinter& printer);

// Every page to a PDF file with its fonts embedded; false when the file
// cannot be written.
bool writePdf(const PageModel& model, const QString& fileName);

} // namespace report
