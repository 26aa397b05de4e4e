#include "report/report_font.h"
#include "tests/report/report_fixture.h"

#include <stdexcept>

namespace reporttest {
namespace {

QStringList words(int count)
{
    QStringList result;
    for (int i = 1; i <= count; ++i)
        result.append(QStringLiteral("w%1").arg(i));
    return result;
}

using Kind = report::PageItem::Kind;

TEST_F(ReportTest, EventsFireInOrderAndAFullPageBreaksBeforeTheRowThatDoesNotFit)
{
    seed(words(8)); // seven lines fill a page
    traceEvents();
    const report::PageModel model = report_.run();

    EXPECT_EQ(trace_.join(' '), "before:1 start:1 header:1 detail:1 detail:2 detail:3 detail:4 "
                                "detail:5 detail:6 detail:7 detail:8 start:8 header:8");
    ASSERT_EQ(model.pages.size(), 2);
    EXPECT_EQ(model.paperMm, QSizeF(100, 100));
    EXPECT_EQ(texts(model.pages[0], "Word"), words(7));
    EXPECT_EQ(texts(model.pages[1], "Word"), QStringList{"w8"});
    for (const report::Page& page : model.pages) {
        EXPECT_EQ(item(page, "Title")->rectMm, QRectF(7, 6, 30, 4));
        EXPECT_EQ(item(page, "Note")->rectMm, QRectF(7, 86, 30, 4)) << "footer above the margin";
    }
    // The row that did not fit opens the next page under its header.
    EXPECT_EQ(item(model.pages[1], "Word")->rectMm, QRectF(7, 16, 30, 4));
    EXPECT_EQ(item(model.pages[0], "Word")->font.family, "ＭＳ Ｐ明朝");
}

TEST_F(ReportTest, NewPageFromTheDetailStepEndsThePageOrBeginsAnEmptyOneAgain)
{
    seed(words(4));
    traceEvents();
    report_.detailBeforePrint = [&](bool& print) {
        const QString n = currentRow();
        trace_.append("detail:" + n);
        if (n == "1" || n == "3")
            report_.newPage();
        print = n != "2";
    };
    report_.newPage(); // outside a run: nothing
    const report::PageModel model = report_.run();

    // Row 1 asks on a page without lines: that page is begun again, not
    // left empty.
    EXPECT_EQ(trace_.join(' '), "before:1 start:1 header:1 detail:1 start:1 header:1 detail:2 "
                                "detail:3 start:3 header:3 detail:4");
    ASSERT_EQ(model.pages.size(), 2);
    EXPECT_EQ(texts(model.pages[0], "Word"), QStringList{"w1"}) << "w2 was left out";
    EXPECT_EQ(texts(model.pages[0], "Title").size(), 1) << "one header";
    EXPECT_EQ(texts(model.pages[0], "Note"), QStringList{"記事"}) << "the left page has a footer";
    EXPECT_EQ(texts(model.pages[1], "Word"), (QStringList{"w3", "w4"}));
    EXPECT_EQ(item(model.pages[1], "Word")->rectMm.top(), 16) << "top of the new page";
}

TEST_F(ReportTest, DisabledBandsTakeNoSpaceAndAskNoHandler)
{
    struct Case
    {
        bool header, footer;
        int linesOnFirstPage; // of 9 rows, 10 mm each, 90 mm between the margins
    };
    seed(words(9));
    for (const Case c :
         {Case{true, true, 7}, Case{false, true, 8}, Case{true, false, 8}, Case{false, false, 9}}) {
        SCOPED_TRACE(testing::Message() << "header " << c.header << " footer " << c.footer);
        trace_.clear();
        traceEvents();
        // The switches may still change as the run starts, as a preference does.
        report_.beforePrint = [&] {
            report_.pageHeader.enabled = c.header;
            report_.pageFooter.enabled = c.footer;
        };
        const report::PageModel model = report_.run();
        EXPECT_EQ(texts(model.pages[0], "Word").size(), c.linesOnFirstPage);
        EXPECT_EQ(item(model.pages[0], "Word")->rectMm.top(), c.header ? 16 : 6);
        EXPECT_EQ(item(model.pages[0], "Title") != nullptr, c.header);
        EXPECT_EQ(item(model.pages.last(), "Note") != nullptr, c.footer);
        EXPECT_EQ(trace_.contains("header:1"), c.header);
    }
}

TEST_F(ReportTest, AnEmptyRowSetGivesOnePageWithHeaderAndFooter)
{
    seed({});
    traceEvents();
    const report::PageModel model = report_.run();
    EXPECT_EQ(trace_.join(' '), "before:- start:- header:-");
    ASSERT_EQ(model.pages.size(), 1);
    EXPECT_EQ(texts(model.pages[0], "Title"), QStringList{"見出し"});
    EXPECT_EQ(texts(model.pages[0], "Note"), QStringList{"記事"});
    EXPECT_EQ(texts(model.pages[0], "Word"), QStringList());
}

TEST_F(ReportTest, TheRowSetEndsWhereItStoodAndItsControlsStayStill)
{
    seed(words(3));
    rows_.setRecNo(2);
    bool quietDuringRun = true;
    report_.detailBeforePrint = [&](bool&) { quietDuringRun &= rows_.controlsDisabled(); };
    report_.run();
    EXPECT_TRUE(quietDuringRun);
    EXPECT_FALSE(rows_.controlsDisabled());
    EXPECT_EQ(rows_.recNo(), 2);

    // A handler that fails ends the run, and still the row-set is put back.
    report_.detailBeforePrint = [](bool&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(report_.run(), std::runtime_error);
    EXPECT_FALSE(rows_.controlsDisabled());
    EXPECT_EQ(rows_.recNo(), 2);
}

TEST_F(ReportTest, AutoSizedTextsKeepTheirAlignedEdge)
{
    seed({QStringLiteral("飛行記録")});
    const report::Font font{QStringLiteral("ＭＳ Ｐ明朝"), 10, false};
    // Full-width characters are one em wide: four of them at 10 pt.
    const double width = report::textWidthMm(font, QStringLiteral("飛行記録"));
    EXPECT_NEAR(width, 4 * 10 * 25.4 / 72, 0.05);

    struct Case
    {
        Qt::Alignment alignment;
        double left; // laid out at 20 mm, 30 mm wide, on a 5 mm margin
    };
    for (const Case c : {Case{Qt::AlignLeft, 25}, Case{Qt::AlignHCenter, 40 - width / 2},
                         Case{Qt::AlignRight, 55 - width}}) {
        SCOPED_TRACE(int(c.alignment));
        report::Band& band = report_.detail;
        band = report::Band{};
        band.heightMm = 10;
        band.addDataText("Word", QRectF(20, 1, 30, 4), "word", font, c.alignment, true);
        const report::PageModel laidOut = report_.run();
        const report::PageItem* printed = item(laidOut.pages[0], "Word");
        ASSERT_NE(printed, nullptr);
        EXPECT_NEAR(printed->rectMm.left(), c.left, 1e-9);
        EXPECT_NEAR(printed->rectMm.width(), width, 1e-9);
        EXPECT_EQ(printed->alignment, c.alignment);
    }
}

TEST_F(ReportTest, DataTextsFitTheirColumn)
{
    // Nine full-width characters at 9 pt: 28.6 mm; at the narrowest 17.1 mm.
    const QString word = QStringLiteral("定期点検後試験飛行");
    seed({word});
    const report::Font font{QStringLiteral("ＭＳ Ｐ明朝"), 9, false};
    enum Outcome
    {
        Fits,
        Condensed,
        Cut
    };
    struct Neighbour
    {
        QRectF rect;
        report::Shape::Kind kind;
    };
    struct Case
    {
        const char* what;
        QRectF rect; // in the detail band, on a 90 mm wide band
        Qt::Alignment alignment;
        bool autoSize;
        std::vector<Neighbour> neighbours;
        double columnLeft, columnRight;
        Outcome outcome;
    };
    using enum report::Shape::Kind;
    const Case cases[] = {
        {"fixed, wide enough", {20, 1, 40, 4}, Qt::AlignLeft, false, {}, 20, 60, Fits},
        {"fixed, condensed", {20, 1, 20, 4}, Qt::AlignRight, false, {}, 20, 40, Condensed},
        {"fixed, cut", {20, 1, 10, 4}, Qt::AlignLeft, false, {}, 20, 30, Cut},
        {"auto, up to the next item",
         {20, 1, 5, 4},
         Qt::AlignLeft,
         true,
         {{{60, 0, 0.3, 10}, VerticalLine}},
         20,
         60,
         Fits},
        {"auto, up to a rule",
         {20, 1, 5, 4},
         Qt::AlignLeft,
         true,
         {{{40, 0, 0.3, 10}, VerticalLine}, {{50, 0, 5, 10}, Rectangle}},
         20,
         40,
         Condensed},
        {"auto, past what is not beside it",
         {20, 1, 5, 4},
         Qt::AlignLeft,
         true,
         {{{30, 3, 40, 0}, HorizontalLine}, {{30, 6, 10, 4}, Rectangle}},
         20,
         90,
         Fits},
        {"auto, up to the printable edge",
         {70, 1, 5, 4},
         Qt::AlignLeft,
         true,
         {},
         70,
         90,
         Condensed},
        {"auto, right-aligned back to the item before",
         {45, 1, 5, 4},
         Qt::AlignRight,
         true,
         {{{20, 0, 15, 10}, Rectangle}},
         35,
         50,
         Cut},
        {"auto, centred between its neighbours",
         {40, 1, 20, 4},
         Qt::AlignHCenter,
         true,
         {{{20, 0, 10, 10}, Rectangle}, {{62, 0, 0.3, 10}, VerticalLine}},
         38,
         62,
         Condensed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        report::Band& band = report_.detail;
        band = report::Band{};
        band.heightMm = 10;
        band.addDataText("Word", c.rect, "word", font, c.alignment, c.autoSize);
        for (const Neighbour& n : c.neighbours)
            band.addShape("Other", n.rect, n.kind, 1);
        const report::PageModel laidOut = report_.run();
        const report::PageItem* printed = item(laidOut.pages[0], "Word");
        ASSERT_NE(printed, nullptr);
        const QRectF box = printed->rectMm.translated(-5, -15); // back into the band
        const double scale = printed->horizontalScale;
        const double room = c.columnRight - c.columnLeft;
        const double drawn = report::textWidthMm(font, printed->text) * scale;

        switch (c.outcome) {
        case Fits:
            EXPECT_EQ(printed->text, word);
            EXPECT_EQ(scale, 1.0);
            break;
        case Condensed:
            EXPECT_EQ(printed->text, word);
            EXPECT_NEAR(drawn, room, 1e-6) << "fills its column";
            break;
        case Cut: {
            ASSERT_TRUE(printed->text.endsWith(QChar(0x2026))) << printed->text.toStdString();
            const QString kept = printed->text.chopped(1);
            EXPECT_TRUE(!kept.isEmpty() && word.startsWith(kept)) << kept.toStdString();
            // No longer start would have fitted at the narrowest.
            const QString longer = word.left(kept.size() + 1) + QChar(0x2026);
            EXPECT_GT(report::textWidthMm(font, longer) * report::MinimumTextScale, room);
            break;
        }
        }
        EXPECT_GE(scale, report::MinimumTextScale);
        EXPECT_LE(drawn, room + 1e-6);
        EXPECT_GE(box.left(), c.columnLeft - 1e-6);
        EXPECT_LE(box.right(), c.columnRight + 1e-6);
        if (c.autoSize)
            EXPECT_NEAR(box.width(), drawn, 1e-6) << "the box is the width drawn";
        else
            EXPECT_EQ(box, c.rect);
    }
}

TEST_F(ReportTest, BandRulesAndShapesArePlacedOnThePaper)
{
    seed(words(1));
    report_.detail.ruleTop = report_.detail.ruleBottom = true;
    report_.detail.rulePen = 2;
    report_.detail.addShape("Box", QRectF(40, 0, 20, 10), report::Shape::Kind::Rectangle, 1);
    report_.detail.addShape("Bar", QRectF(70, 0, 0.3, 10), report::Shape::Kind::VerticalLine, 3);
    const report::Page page = report_.run().pages[0];

    const report::PageItem* top = item(page, "Detail.ruleTop");
    const report::PageItem* bottom = item(page, "Detail.ruleBottom");
    ASSERT_TRUE(top && bottom);
    EXPECT_EQ(top->kind, Kind::HorizontalLine);
    EXPECT_EQ(top->rectMm, QRectF(5, 15, 90, 0)) << "across the printable width";
    EXPECT_EQ(bottom->rectMm, QRectF(5, 25, 90, 0));
    EXPECT_EQ(bottom->pen, 2);
    EXPECT_EQ(item(page, "Box")->kind, Kind::Rectangle);
    EXPECT_EQ(item(page, "Box")->rectMm, QRectF(45, 15, 20, 10));
    EXPECT_EQ(item(page, "Bar")->kind, Kind::VerticalLine);
    EXPECT_EQ(item(page, "Bar")->pen, 3);
}

TEST(PageSetup, PaperLiesAsOrientedAndAStandardSizeBringsItsDimensions)
{
    report::PageSetup page;
    page.setPaperSize(QPageSize::JisB5);
    page.orientation = QPageLayout::Landscape;
    EXPECT_EQ(page.paperMm(), QSizeF(257, 182));
    page.setPaperSize(QPageSize::Custom); // keeps the last dimensions
    EXPECT_EQ(page.paperMm(), QSizeF(257, 182));
    page.marginsMm = QMarginsF(20, 10, 10, 10);
    report::Report report;
    report.page = page;
    EXPECT_EQ(report.printableWidthMm(), 227);
}

} // namespace
} // namespace reporttest
