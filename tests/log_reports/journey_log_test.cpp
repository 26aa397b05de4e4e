// The journey log's pages: numbering, years, the notes block and positions,
// against golden page models and the layout tables.
#include "print/journey_log_layout.h"
#include "print/skelvo_print_form.h"
#include "tests/log_reports/log_report_fixture.h"
#include "tests/log_reports/report_dump.h"
#include "tests/testsupport/qt_printers.h"

namespace {

using printtest::Entry;

class JourneyLogTest : public printtest::LogReportTest
{
protected:
    report::PageModel print(const std::vector<Entry>& entries)
    {
        TSkelvoPrintForm form(fill(entries), QStringLiteral("ab12"), oldPattern_);
        return form.Report.run();
    }

    bool oldPattern_ = false;
};

TEST_F(JourneyLogTest, PageNumbersComeFromTheEntriesOrCountOn)
{
    const report::PageModel model = print({{}, {}, {.pageno = 5}, {}});
    ASSERT_EQ(model.pages.size(), 2);
    EXPECT_EQ(texts(model.pages[0], "QRLabel15"), QStringList{"0001"});
    EXPECT_EQ(texts(model.pages[1], "QRLabel15"), QStringList{"0005"});
    EXPECT_EQ(texts(model.pages[1], "QRDBText2").size(), 2); // the third entry begins it
    EXPECT_EQ(texts(model.pages[0], "QRLabel4"), QStringList{"AB12"});
    printtest::expectGolden(model, "pages_by_pageno");
}

TEST_F(JourneyLogTest, AFullPageCountsOnAndYearsStandWhereTheyChange)
{
    // 19 lines fill a page without the notes block.
    std::vector<Entry> entries(30);
    for (size_t i = 10; i < entries.size(); ++i)
        entries[i].yyyy = "2010";
    entries[25].pageno = 9;
    const report::PageModel model = print(entries);
    ASSERT_EQ(model.pages.size(), 3);
    EXPECT_EQ(texts(model.pages[0], "QRDBText2").size(), 19);
    EXPECT_EQ(texts(model.pages[1], "QRLabel15"), QStringList{"0002"});
    EXPECT_EQ(texts(model.pages[2], "QRLabel15"), QStringList{"0009"});
    QStringList firstPageYears = texts(model.pages[0], "QRLabel59");
    firstPageYears.removeAll(QString());
    EXPECT_EQ(firstPageYears, (QStringList{"2009", "2010"}));
    // A page begun because the last was full shows its year on its first line;
    // one begun by a page number does not when the year is unchanged.
    EXPECT_EQ(texts(model.pages[1], "QRLabel59").first(), "2010");
    EXPECT_EQ(texts(model.pages[2], "QRLabel59").first(), "");
    printtest::expectGolden(model, "overflow_and_years");
}

TEST_F(JourneyLogTest, TheOlderPatternClosesEveryPageWithTheNotesBlock)
{
    oldPattern_ = true;
    const report::PageModel model = print(std::vector<Entry>(16));
    ASSERT_EQ(model.pages.size(), 2); // 15 lines fit above the block
    for (const report::Page& page : model.pages)
        EXPECT_EQ(texts(page, "QRLabel58"), QStringList{"記事"});
    printtest::expectGolden(model, "old_pattern");
}

TEST_F(JourneyLogTest, AnEmptyTablePrintsOneHeaderPage)
{
    const report::PageModel model = print({});
    ASSERT_EQ(model.pages.size(), 1);
    EXPECT_EQ(texts(model.pages[0], "QRLabel15"), QStringList{"0001"});
    printtest::expectGolden(model, "empty");
}

TEST_F(JourneyLogTest, AFirstEntryWithAPageNumberLeavesNoEmptyPage)
{
    const report::PageModel model = print({{.pageno = 7}, {}});
    ASSERT_EQ(model.pages.size(), 1);
    EXPECT_EQ(texts(model.pages[0], "QRLabel15"), QStringList{"0007"});
    EXPECT_EQ(texts(model.pages[0], "QRDBText2").size(), 2);
}

TEST_F(JourneyLogTest, FixedElementsStandWhereTheLayoutPutsThem)
{
    const report::PageModel model = print({{}});
    const QPointF margins(20, 10);
    EXPECT_GT(
        expectPlaced(model.pages.first(), JourneyLogLayout::layout().header.elements, margins), 30);
    EXPECT_EQ(model.paperMm, QSizeF(257, 182));
}

} // namespace
