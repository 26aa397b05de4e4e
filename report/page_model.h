#pragma once

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

// What a report run produces: pages of items placed in millimetres on the
// paper, with their texts, fonts and pens. Rendering it draws the same
// pages on a printer, a PDF, an image or the preview.
namespace report {

struct Font
{
    QString family;
    double pointSize = 9.0;
    bool bold = false;

    bool operator==(const Font&) const = default;
};

struct PageItem
{
    enum class Kind
    {
        Text,
        Rectangle,
        HorizontalLine,
        VerticalLine,
    };

    Kind kind = Kind::Text;
    QString name;  // the element's name in its band, for tests and tracing
    QRectF rectMm; // on the paper, from its top-left corner
    QString text;  // Text only
    Font font;     // Text only
    Qt::Alignment alignment = Qt::AlignLeft; // Text only
    // Text only: the text's width as drawn over its width in the font, less
    // than 1 where a data text is condensed to fit its column; the box is
    // the drawn width.
    double horizontalScale = 1.0;
    int pen = 1; // shapes and rules: the layout's pen width (see penWidthMm)
};

struct Page
{
    QList<PageItem> items;
};

struct PageModel
{
    QSizeF paperMm; // as the paper lies: width and length after orientation
    QList<Page> pages;
};

// A layout pen width in millimetres on paper: 0.2 mm a step; a pen of 0
// or less draws nothing.
double penWidthMm(int pen);

} // namespace report
