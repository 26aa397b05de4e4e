// The engine and the propeller logs: page numbers, the overhaul filters and
// the years around left-out rows, positions against the layout tables; and
// one logbook printed as all three logs.
#include "print/engine_log_print_form.h"
#include "print/propeller_log_print_form.h"
#include "print/running_time_log_layout.h"
#include "print/skelvo_print_form.h"
#include "tests/log_reports/log_report_fixture.h"
#include "tests/log_reports/report_dump.h"

namespace {

using printtest::Entry;

class RunningTimeLogTest : public printtest::LogReportTest
{
protected:
    report::PageModel engineLog(const std::vector<Entry>& entries)
    {
        TEngineLogPrintForm form(fill(entries), QStringLiteral("ab12"));
        return form.Report.run();
    }
    report::PageModel propellerLog(const std::vector<Entry>& entries)
    {
        TPropellerLogPrintForm form(fill(entries), QStringLiteral("ab12"));
        return form.Report.run();
    }

    // A text element's texts over all pages.
    static QStringList allTexts(const report::PageModel& model, const char* name)
    {
        QStringList found;
        for (const report::Page& page : model.pages)
            found += texts(page, name);
        return found;
    }
    static QStringList pageNumbers(const report::PageModel& model)
    {
        return allTexts(model, "QRLabel15");
    }
};

TEST_F(RunningTimeLogTest, EngineLogPagesComeFromTheEntriesOrCountOn)
{
    std::vector<Entry> entries(25);
    entries[2].e_pageno = 7;
    entries[4].pageno = 3; // the journey log's number is not the engine log's
    const report::PageModel model = engineLog(entries);
    // Two lines on page 1; page 7 holds 20 lines, the rest go to page 8.
    EXPECT_EQ(pageNumbers(model), (QStringList{"0001", "0007", "0008"}));
    EXPECT_EQ(texts(model.pages[0], "QRDBText3").size(), 2);
    EXPECT_EQ(texts(model.pages[1], "QRDBText3").size(), 20);
    EXPECT_EQ(texts(model.pages[2], "QRLabel13").first(), "2009") << "a full page's next line";
    EXPECT_EQ(texts(model.pages[0], "QRLabel4"), QStringList{"AB12"});
    printtest::expectGolden(model, "engine_pages");
}

TEST_F(RunningTimeLogTest, PropellerLogPagesComeFromTheEntriesOrCountOn)
{
    std::vector<Entry> entries(4);
    entries[2].p_pageno = 7;
    entries[3].e_pageno = 9;
    const report::PageModel model = propellerLog(entries);
    EXPECT_EQ(pageNumbers(model), (QStringList{"0001", "0007"}));
    EXPECT_EQ(texts(model.pages[1], "QRDBText3").size(), 2);
    printtest::expectGolden(model, "propeller_pages");
}

TEST_F(RunningTimeLogTest, AFirstRowWithAPageNumberLeavesNoEmptyPage)
{
    const std::vector<Entry> entries = {{.e_pageno = 4, .p_pageno = 6}, {}};
    for (const report::PageModel& model : {engineLog(entries), propellerLog(entries)}) {
        EXPECT_EQ(model.pages.size(), 1);
        EXPECT_EQ(texts(model.pages[0], "QRDBText1").size(), 2);
    }
    EXPECT_EQ(pageNumbers(engineLog(entries)), QStringList{"0004"});
    EXPECT_EQ(pageNumbers(propellerLog(entries)), QStringList{"0006"});
}

// Years stand where they change from the row before, left-out rows
// included; a propeller row that begins a page always shows its year and
// is not remembered.
TEST_F(RunningTimeLogTest, YearsCountLeftOutRows)
{
    const std::vector<Entry> entries = {
        {.yyyy = "2009", .remarks = "a"}, {.ovh = 1, .yyyy = "2010", .remarks = "left out of both"},
        {.yyyy = "2010", .remarks = "b"}, {.p_pageno = 3, .yyyy = "2011", .remarks = "c"},
        {.yyyy = "2011", .remarks = "d"},
    };
    const report::PageModel engine = engineLog(entries);
    EXPECT_EQ(allTexts(engine, "QRDBText7"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(allTexts(engine, "QRLabel13"), (QStringList{"2009", "", "2011", ""}));

    const report::PageModel propeller = propellerLog(entries);
    EXPECT_EQ(allTexts(propeller, "QRDBText7"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(allTexts(propeller, "QRLabel13"), (QStringList{"2009", "", "2011", "2011"}));
}

TEST_F(RunningTimeLogTest, EachRowAppearsInTheLogsItsFlagsAllow)
{
    // Every combination of the three overhaul flags, without and with the
    // engine and propeller page numbers.
    std::vector<Entry> entries;
    std::vector<QByteArray> names;
    QStringList journey, engine, propeller;
    for (int numbered = 0; numbered < 2; ++numbered) {
        for (int flags = 0; flags < 8; ++flags) {
            Entry e{.e_pageno = numbered * (10 + flags),
                    .p_pageno = numbered * (20 + flags),
                    .ovh = flags & 1,
                    .e_ovh = (flags >> 1) & 1,
                    .p_ovh = (flags >> 2) & 1};
            names.push_back(QStringLiteral("n%1f%2").arg(numbered).arg(flags).toUtf8());
            e.remarks = names.back().constData();
            entries.push_back(e);
            journey.append(names.back());
            if (!e.ovh && !e.p_ovh)
                engine.append(names.back());
            if (e.p_pageno != 0 || (!e.ovh && !e.e_ovh))
                propeller.append(names.back());
        }
    }
    const report::PageModel journeyLog = [&] {
        const bool oldPattern = false;
        TSkelvoPrintForm form(fill(entries), QStringLiteral("ab12"), oldPattern);
        return form.Report.run();
    }();
    EXPECT_EQ(allTexts(journeyLog, "QRDBText14"), journey);
    EXPECT_EQ(allTexts(engineLog(entries), "QRDBText7"), engine);
    EXPECT_EQ(allTexts(propellerLog(entries), "QRDBText7"), propeller);
}

TEST_F(RunningTimeLogTest, AnEmptyTablePrintsOneHeaderPageAsLaidOut)
{
    const QPointF margins(20, 10);
    const report::PageModel engine = engineLog({});
    ASSERT_EQ(engine.pages.size(), 1);
    EXPECT_EQ(pageNumbers(engine), QStringList{"0001"});
    EXPECT_EQ(
        expectPlaced(engine.pages[0], RunningTimeLogLayout::engineLog().header.elements, margins),
        15);
    printtest::expectGolden(engine, "engine_empty");

    const report::PageModel propeller = propellerLog({});
    EXPECT_EQ(expectPlaced(propeller.pages[0], RunningTimeLogLayout::propellerLog().header.elements,
                           margins),
              15);
    printtest::expectGolden(propeller, "propeller_empty");
}

TEST_F(RunningTimeLogTest, LinesStandWhereTheLayoutPutsThem)
{
    const report::PageModel model = engineLog({{}});
    // The first line under the header; texts size themselves, so only the
    // rule is placed to its box.
    const QPointF lineOrigin(20, 10 + RunningTimeLogLayout::HeaderHeightMm);
    EXPECT_EQ(
        expectPlaced(model.pages[0], RunningTimeLogLayout::engineLog().detail.elements, lineOrigin),
        1);
    // A right-aligned time keeps its right edge.
    const report::PageItem* ground = nullptr;
    for (const report::PageItem& item : model.pages[0].items)
        if (item.name == QLatin1String("QRDBText2"))
            ground = &item;
    ASSERT_TRUE(ground);
    EXPECT_NEAR(ground->rectMm.right(), 20 + 26.2 + 17.5, 0.05);
}

} // namespace
