#include "report/render.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/print_output.h"
#include "tests/testsupport/temp_folder.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using report::PageItem;

PageItem text(const QString& content, double left, double top)
{
    PageItem item;
    item.kind = PageItem::Kind::Text;
    item.rectMm = QRectF(left, top, 60, 6);
    item.text = content;
    item.font = report::Font{QStringLiteral("ＭＳ Ｐ明朝"), 12, false};
    return item;
}

PageItem line(PageItem::Kind kind, const QRectF& rect, int pen)
{
    PageItem item;
    item.kind = kind;
    item.rectMm = rect;
    item.pen = pen;
    return item;
}

// A B5 landscape model of two pages.
report::PageModel twoPages()
{
    report::PageModel model;
    model.paperMm = QSizeF(257, 182);
    model.pages.append(
        report::Page{{text(QStringLiteral("飛行記録"), 20, 30),
                      line(PageItem::Kind::HorizontalLine, QRectF(20, 40, 100, 0), 2)}});
    model.pages.append(report::Page{{text(QStringLiteral("JOURNEY"), 100, 50)}});
    return model;
}

class RenderTest : public ::testing::Test
{
protected:
    void SetUp() override { testsupport::ensureGuiApplication(); }
    testsupport::TempFolder folder_;
};

TEST_F(RenderTest, PdfHoldsEveryPageOnTheModelsPaperWithItsTexts)
{
    const QString pdf = folder_.filePath("log.pdf");
    ASSERT_TRUE(report::writePdf(twoPages(), pdf));

    EXPECT_EQ(testsupport::pdfPageCount(pdf), 2);
    // 257 × 182 mm; Qt gives a PDF page whole points.
    const QSizeF size = testsupport::pdfPageSizeMm(pdf);
    EXPECT_NEAR(size.width(), 257, 0.2);
    EXPECT_NEAR(size.height(), 182, 0.2);

    const QString texts = testsupport::runTool("pdftotext", {pdf, "-"});
    EXPECT_TRUE(texts.contains("飛行記録")) << texts.toStdString();
    EXPECT_TRUE(texts.contains("JOURNEY"));

    // The text's box stands where the model put it: 100 mm, 50 mm on page 2.
    const QString boxes =
        testsupport::runTool("pdftotext", {"-bbox", "-f", "2", "-l", "2", pdf, "-"});
    const QRegularExpressionMatch word =
        QRegularExpression("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\"[^>]*>JOURNEY<").match(boxes);
    ASSERT_TRUE(word.hasMatch()) << boxes.toStdString();
    const double mmPerPoint = 25.4 / 72;
    EXPECT_NEAR(word.captured(1).toDouble() * mmPerPoint, 100, 0.5);
    EXPECT_NEAR(word.captured(2).toDouble() * mmPerPoint, 50, 0.8);
}

TEST_F(RenderTest, AnUnwritablePdfIsReportedAsAFailure)
{
    EXPECT_FALSE(report::writePdf(twoPages(), folder_.filePath("no such folder/log.pdf")));
}

TEST_F(RenderTest, ShapesLandInMillimetresAtTheDevicesResolution)
{
    report::PageModel model;
    model.paperMm = QSizeF(100, 50);
    model.pages.append(
        report::Page{{line(PageItem::Kind::VerticalLine, QRectF(49.85, 10, 0.3, 30), 2),
                      line(PageItem::Kind::Rectangle, QRectF(10, 10, 20, 20), 0)}});
    QImage image(1000, 500, QImage::Format_RGB32); // 10 pixels a millimetre
    const int dotsPerMeter = 10000;
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    report::renderPage(painter, model, 0);
    painter.end();

    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    EXPECT_TRUE(dark(500, 250)) << "a 0.4 mm line through 50 mm";
    EXPECT_TRUE(dark(498, 250));
    EXPECT_FALSE(dark(505, 250));
    EXPECT_FALSE(dark(500, 50)) << "the line starts at 10 mm";
    EXPECT_FALSE(dark(100, 200)) << "pen 0 draws nothing";
}

} // namespace
