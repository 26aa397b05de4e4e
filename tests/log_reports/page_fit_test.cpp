// The three logs on whatever paper is chosen: rules that span the page
// follow the paper actually used, and long texts keep to their columns.
#include "print/engine_log_print_form.h"
#include "print/propeller_log_print_form.h"
#include "print/skelvo_print_form.h"
#include "report/render.h"
#include "tests/log_reports/log_report_fixture.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <map>
#include <memory>

namespace {

using printtest::Entry;

enum class Log
{
    Journey,
    Engine,
    Propeller,
};
constexpr Log AllLogs[] = {Log::Journey, Log::Engine, Log::Propeller};

struct Paper
{
    QPageSize::PageSizeId size;
    QPageLayout::Orientation orientation;
};

class PageFitTest : public printtest::LogReportTest
{
protected:
    // The log printed on the paper given, set after the form is made as the
    // stored printer choice is.
    report::PageModel print(Log log, const std::vector<Entry>& entries, const Paper& paper)
    {
        DataSet& rows = fill(entries);
        const QString table = QStringLiteral("ab12");
        std::unique_ptr<LogPrintForm> form;
        switch (log) {
        case Log::Journey:
            form = std::make_unique<TSkelvoPrintForm>(rows, table, oldPattern_);
            break;
        case Log::Engine:
            form = std::make_unique<TEngineLogPrintForm>(rows, table);
            break;
        case Log::Propeller:
            form = std::make_unique<TPropellerLogPrintForm>(rows, table);
            break;
        }
        form->Report.page.setPaperSize(paper.size);
        form->Report.page.orientation = paper.orientation;
        return form->Report.run();
    }

    static const report::PageItem* find(const report::Page& page, const QString& name)
    {
        for (const report::PageItem& item : page.items)
            if (item.name == name)
                return &item;
        return nullptr;
    }

    // How far each of the page's horizontal rules ends from the right end of
    // its band's rules, by name.
    static std::map<QString, double> ruleEnds(const report::Page& page)
    {
        const QString bandRule[][2] = {
            {"QRShape28", "PageHeaderBand1.ruleBottom"},
            {"QRShape19", "PageFooterBand1.ruleBottom"},
            {"QRShape20", "PageFooterBand1.ruleBottom"},
            {"QRShape21", "PageFooterBand1.ruleBottom"},
            {"QRShape22", "PageFooterBand1.ruleBottom"},
            {"QRShape23", "PageFooterBand1.ruleBottom"},
        };
        std::map<QString, double> ends;
        for (const auto& [name, band] : bandRule) {
            const report::PageItem* rule = find(page, name);
            const report::PageItem* edge = find(page, band);
            if (rule && edge)
                ends[name] = rule->rectMm.right() - edge->rectMm.right();
        }
        return ends;
    }

    const bool oldPattern_ = true; // the journey log with its notes block
};

const Paper B5{QPageSize::JisB5, QPageLayout::Landscape};

TEST_F(PageFitTest, RulesThatSpanThePageFollowThePaperUsed)
{
    const Paper others[] = {
        {QPageSize::A4, QPageLayout::Landscape},
        {QPageSize::A4, QPageLayout::Portrait},
        {QPageSize::A3, QPageLayout::Landscape},
    };
    for (const Log log : AllLogs) {
        SCOPED_TRACE(int(log));
        const std::map<QString, double> asLaidOut = ruleEnds(print(log, {{}}, B5).pages[0]);
        ASSERT_EQ(asLaidOut.size(), log == Log::Journey ? 6u : 1u);
        EXPECT_NEAR(asLaidOut.at("QRShape28"), 0, 1e-9) << "the header rule spans the band";
        for (const Paper& paper : others) {
            SCOPED_TRACE(QPageSize::name(paper.size).toStdString() + " " +
                         std::to_string(int(paper.orientation)));
            const std::map<QString, double> ends = ruleEnds(print(log, {{}}, paper).pages[0]);
            ASSERT_EQ(ends.size(), asLaidOut.size());
            for (const auto& [name, end] : ends)
                EXPECT_NEAR(end, asLaidOut.at(name), 1e-9) << name.toStdString();
        }
    }
}

bool sameLine(const report::PageItem& a, const report::PageItem& b)
{
    constexpr double Tolerance = 1e-6;
    return a.rectMm.top() < b.rectMm.bottom() - Tolerance &&
           b.rectMm.top() < a.rectMm.bottom() - Tolerance;
}

bool isDataText(const report::PageItem& item)
{
    return item.name.startsWith(QLatin1StringView("QRDBText"));
}

// The entries' texts: ordinary, a little long, long, and as long as the
// columns hold.
std::vector<Entry> longTexts()
{
    static const QByteArray fullColumn = QString(120, QChar(u'記')).toUtf8();
    return {
        {.intention = "試験飛行", .depart = "調布", .arrive = "調布", .sign = "山田"},
        {.remarks = "耐空検査",
         .intention = "慣熟飛行訓練",
         .depart = "八丈島空港着陸",
         .arrive = "大島空港",
         .sign = "山田太郎"},
        {.crew = "山田太郎・鈴木一郎・佐藤花子",
         .remarks = "機体受入れ時の累計（前所有者の記録による）",
         .intention = "定期点検後試験飛行",
         .depart = "調布飛行場（東京都調布市）",
         .arrive = "新島空港（東京都新島村）",
         .sign = "山田太郎（教官）"},
        {.crew = fullColumn.constData(),
         .remarks = fullColumn.constData(),
         .intention = fullColumn.constData(),
         .depart = fullColumn.constData(),
         .arrive = fullColumn.constData(),
         .sign = fullColumn.constData()},
    };
}

TEST_F(PageFitTest, LongTextsKeepToTheirColumnsAndThePaper)
{
    for (const Log log : AllLogs) {
        SCOPED_TRACE(int(log));
        const report::PageModel model = print(log, longTexts(), B5);
        const report::Page& page = model.pages[0];
        const double printableRight = find(page, "PageHeaderBand1.ruleBottom")->rectMm.right();
        int condensed = 0;
        int cut = 0;
        for (const report::PageItem& data : page.items) {
            if (!isDataText(data))
                continue;
            condensed += data.horizontalScale < 1;
            cut += data.text.endsWith(QChar(0x2026));
            EXPECT_LE(data.rectMm.right(), printableRight + 1e-6) << data.name.toStdString();
            for (const report::PageItem& other : page.items) {
                if (&other == &data || other.kind == report::PageItem::Kind::HorizontalLine ||
                    !sameLine(data, other))
                    continue;
                const QRectF overlap = data.rectMm.intersected(other.rectMm);
                EXPECT_LE(overlap.width(), 1e-6)
                    << data.name.toStdString() << " " << data.text.toStdString() << " overprints "
                    << other.name.toStdString();
            }
        }
        // The texts were long enough to need both.
        EXPECT_GT(condensed, 0);
        EXPECT_GT(cut, 0);
    }
}

// A picture of the journey log's page with the long texts stays in the
// build folder (journey_log_long_texts.png): nothing is drawn past the
// printable edge, and on the lines every text is drawn within the box the
// page holds for it.
TEST_F(PageFitTest, ThePictureDrawsTheTextsAsFitted)
{
    const report::PageModel model = print(Log::Journey, longTexts(), B5);
    constexpr int PixelsPerMm = 10;
    QImage image((model.paperMm * PixelsPerMm).toSize(), QImage::Format_RGB32);
    image.setDotsPerMeterX(PixelsPerMm * 1000);
    image.setDotsPerMeterY(PixelsPerMm * 1000);
    image.fill(Qt::white);
    QPainter painter(&image);
    report::renderPage(painter, model, 0);
    painter.end();
    EXPECT_TRUE(image.save(QCoreApplication::applicationDirPath() + "/journey_log_long_texts.png"));

    const report::Page& page = model.pages[0];
    const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 160; };
    const int printableRight =
        int(find(page, "PageHeaderBand1.ruleBottom")->rectMm.right() * PixelsPerMm) + 3;
    for (int y = 0; y < image.height(); ++y)
        for (int x = printableRight; x < image.width(); ++x)
            ASSERT_FALSE(dark(x, y)) << "ink past the printable edge at " << x << ", " << y;

    int lines = 0;
    for (const report::PageItem& line : page.items) {
        if (line.name != QLatin1StringView("QRDBText2"))
            continue;
        ++lines;
        // Between the line's rules, every inked column of pixels lies in the
        // box of one of its items.
        std::vector<QRectF> boxes;
        for (const report::PageItem& item : page.items)
            if (item.kind != report::PageItem::Kind::HorizontalLine && sameLine(item, line))
                boxes.push_back(item.rectMm);
        const int top = int(line.rectMm.top() * PixelsPerMm);
        const int bottom = int(line.rectMm.bottom() * PixelsPerMm);
        for (int x = 0; x < image.width(); ++x) {
            bool inked = false;
            for (int y = top; y < bottom && !inked; ++y)
                inked = dark(x, y);
            if (!inked)
                continue;
            const double mm = double(x) / PixelsPerMm;
            const bool inABox = std::any_of(boxes.begin(), boxes.end(), [&](const QRectF& box) {
                return mm >= box.left() - 0.3 && mm <= box.right() + 0.3;
            });
            EXPECT_TRUE(inABox) << "ink outside every box at " << mm << " mm";
        }
    }
    EXPECT_EQ(lines, 4);
}

} // namespace
