#include "print/band_layout.h"

namespace BandLayout {

void addElements(report::Band& band, std::span<const Element> elements)
{
    for (const Element& e : elements) {
        const QString name = QString::fromLatin1(e.name);
        const QRectF rect(e.left, e.top, e.width, e.height);
        const report::Font font{QString::fromUtf16(ReportFontFamily), e.pointSize, e.bold};
        switch (e.kind) {
        case Kind::Label:
            band.addLabel(name, rect, QString::fromUtf8(e.text), font, e.alignment, e.autoSize);
            break;
        case Kind::DataText:
            band.addDataText(name, rect, QString::fromLatin1(e.text), font, e.alignment,
                             e.autoSize);
            break;
        case Kind::Rectangle:
            band.addShape(name, rect, report::Shape::Kind::Rectangle, e.pen);
            break;
        case Kind::HorizontalLine:
            band.addShape(name, rect, report::Shape::Kind::HorizontalLine, e.pen);
            break;
        case Kind::VerticalLine:
            band.addShape(name, rect, report::Shape::Kind::VerticalLine, e.pen);
            break;
        }
    }
}

} // namespace BandLayout
