// The three logs on whatever paper is chosen: rules that span the page
// follow the paper actually used.
#include "print/engine_log_print_form.h"
#include "print/propeller_log_print_form.h"
#include "print/skelvo_print_form.h"
#include "tests/log_reports/log_report_fixture.h"

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

TEST_F(PageFitTest, RulesThatSpanThePageFollowThePaperUsed)
{
    const Paper b5{QPageSize::JisB5, QPageLayout::Landscape};
    const Paper others[] = {
        {QPageSize::A4, QPageLayout::Landscape},
        {QPageSize::A4, QPageLayout::Portrait},
        {QPageSize::A3, QPageLayout::Landscape},
    };
    for (const Log log : AllLogs) {
        SCOPED_TRACE(int(log));
        const std::map<QString, double> asLaidOut = ruleEnds(print(log, {{}}, b5).pages[0]);
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

} // namespace
