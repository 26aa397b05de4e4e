#include "report/report_font.h"

#include <QFontMetricsF>
#include <QImage>

namespace report {

namespace {

struct FaceMapping
{
    const char16_t* layoutFamily;
    const char* installedFamily;
};

// The Windows Japanese faces and their IPA counterparts, which share their
// proportional or fixed-pitch design.
constexpr FaceMapping Faces[] = {
    {u"ＭＳ Ｐ明朝", "IPAPMincho"},     {u"ＭＳ 明朝", "IPAMincho"},
    {u"MS PMincho", "IPAPMincho"},      {u"MS Mincho", "IPAMincho"},
    {u"ＭＳ Ｐゴシック", "IPAPGothic"}, {u"ＭＳ ゴシック", "IPAGothic"},
    {u"MS PGothic", "IPAPGothic"},      {u"MS Gothic", "IPAGothic"},
};

QString installedFamily(const QString& family)
{
    for (const FaceMapping& face : Faces)
        if (family == QString::fromUtf16(face.layoutFamily))
            return QString::fromLatin1(face.installedFamily);
    return family;
}

// Texts are measured at ten times their size on a 72 dpi device, where a
// point is a pixel: glyph advances then carry no screen rounding.
constexpr double MeasureScale = 10.0;
constexpr double MmPerPoint = 25.4 / 72.0;

const QImage& measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(72.0 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

} // namespace

QFont qtFont(const Font& font)
{
    QFont result(installedFamily(font.family));
    result.setPointSizeF(font.pointSize > 0 ? font.pointSize : 9.0);
    result.setBold(font.bold);
    // Hinted advances depend on the pixel size; the page must not.
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

double textWidthMm(const Font& font, const QString& text)
{
    QFont scaled = qtFont(font);
    scaled.setPointSizeF(scaled.pointSizeF() * MeasureScale);
    const QFontMetricsF metrics(scaled, &measuringDevice());
    const double points =
        metrics.horizontalAdvance(text) / MeasureScale * 72.0 / measuringDevice().logicalDpiX();
    return points * MmPerPoint;
}

} // namespace report
