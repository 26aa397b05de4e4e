#include "print/log_layout.h"

namespace LogLayout {

namespace {
constexpr char HeaderRule[] = "QRShape28";
}

void addHeaderBox(report::Band& band, const HeaderBox& box, double bandWidthMm)
{
    using enum BandLayout::Kind;
    const int pen = box.heavyPen;
    const BandLayout::Element elements[] = {
        {"QRShape1", Rectangle, "", 3.7, box.boxTopMm, 37.3, 11.9, Qt::AlignLeft, 9, false, false,
         pen},
        {"QRLabel1", Label, "国籍及び登録記号", 5.3, 4.5, 34.1, 3.4, Qt::AlignHCenter, 10},
        {"QRShape2", Rectangle, "", 40.7, box.boxTopMm, 32.5, 11.9, Qt::AlignLeft, 9, false, false,
         pen},
        {"QRLabel4", Label, "", 42.3, box.markTopMm, box.markWidthMm, 4.5, Qt::AlignHCenter, 12},
        {"QRLabel7", Label, "Page", 192.9, 7.9, 6.6, 3.4, Qt::AlignLeft, 10, false, true},
        {HeaderRule, HorizontalLine, "", 0.0, 16.9, bandWidthMm, 0.5, Qt::AlignLeft, 9, false,
         false, pen},
        {"QRLabel15", Label, "", 200.0, 7.9, 14.8, 3.4, Qt::AlignRight, 10, false, true},
    };
    BandLayout::addElements(band, elements);
}

void fitHeaderBox(report::Band& band, double bandWidthMm)
{
    band.find(QString::fromLatin1(HeaderRule))->rectMm.setWidth(bandWidthMm);
}

} // namespace LogLayout
