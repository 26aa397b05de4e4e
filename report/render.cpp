#include "report/render.h"

#include "report/report_font.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <cmath>
#include <functional>

namespace report {

namespace {

constexpr double MmPerInch = 25.4;

// Text is drawn in device pixels at its true size, not as a tiny font under a
// millimetre scale: glyphs are then made for the device's resolution.
void drawText(QPainter& painter, const PageItem& item)
{
    const QTransform toDevice = painter.combinedTransform();
    QRectF rect = toDevice.mapRect(item.rectMm);
    const double pixelsPerMm = std::hypot(toDevice.m12(), toDevice.m22());
    QFont font = qtFont(item.font);
    font.setPointSizeF(item.font.pointSize * MmPerInch * pixelsPerMm /
                       painter.device()->logicalDpiY());

    painter.save();
    painter.setViewTransformEnabled(false);
    painter.setWorldTransform(QTransform());
    painter.setFont(font);
    painter.setPen(Qt::black);
    // A condensed text is laid out at its font's width and narrowed into its
    // box from the box's left edge.
    const double scale = item.horizontalScale > 0 ? item.horizontalScale : 1.0;
    if (scale != 1.0) {
        painter.translate(rect.left(), 0);
        painter.scale(scale, 1);
        rect = QRectF(0, rect.top(), rect.width() / scale, rect.height());
    }
    // The layout places a text's top, as the flight line's texts of different
    // heights share it; the model has fitted the text to its column, so it is
    // not clipped to its box.
    painter.drawText(rect,
                     int(item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop |
                         Qt::TextSingleLine | Qt::TextDontClip,
                     item.text);
    painter.restore();
}

void drawShape(QPainter& painter, const PageItem& item)
{
    const double width = penWidthMm(item.pen);
    if (width <= 0)
        return;
    painter.setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const QRectF& r = item.rectMm;
    switch (item.kind) {
    case PageItem::Kind::Rectangle:
        painter.drawRect(r);
        break;
    // Lines run through the middle of their box.
    case PageItem::Kind::HorizontalLine:
        painter.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
        break;
    case PageItem::Kind::VerticalLine:
        painter.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
        break;
    case PageItem::Kind::Text:
        break;
    }
}

bool paintPages(const PageModel& model, QPaintDevice& device, const std::function<bool()>& nextPage)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = 0; i < model.pages.size(); ++i) {
        if (i > 0 && !nextPage())
            return false;
        renderPage(painter, model, i);
    }
    return painter.end();
}

} // namespace

void renderPage(QPainter& painter, const PageModel& model, int pageIndex)
{
    if (pageIndex < 0 || pageIndex >= model.pages.size())
        return;
    const QPaintDevice* device = painter.device();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(device->logicalDpiX() / MmPerInch, device->logicalDpiY() / MmPerInch);
    for (const PageItem& item : model.pages[pageIndex].items) {
        if (item.kind == PageItem::Kind::Text)
            drawText(painter, item);
        else
            drawShape(painter, item);
    }
    painter.restore();
}

bool printModel(const PageModel& model, QPrinter& printer)
{
    // The page's coordinates start at the paper's corner, as the layout's do.
    printer.setFullPage(true);
    return paintPages(model, printer, [&printer] { return printer.newPage(); });
}

bool writePdf(const PageModel& model, const QString& fileName)
{
    QPdfWriter writer(fileName);
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("Skelvo"));
    const QSizeF paper = model.paperMm;
    const bool landscape = paper.width() > paper.height();
    const QPageSize size(landscape ? paper.transposed() : paper, QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    if (!writer.setPageLayout(QPageLayout(
            size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF())))
        return false;
    return paintPages(model, writer, [&writer] { return writer.newPage(); });
}

} // namespace report
