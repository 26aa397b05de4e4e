// The journey log's pages: numbering, years, the notes block and positions,
// against golden page models and the layout tables.
#include "data/data_set.h"
#include "data/paradox/paradox_driver.h"
#include "db/table_management.h"
#include "print/journey_log_layout.h"
#include "print/skelvo_print_form.h"
#include "tests/journey_log/report_dump.h"
#include "tests/testsupport/gui_application.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

struct Entry
{
    int pageno = 0;
    const char* yyyy = "2009";
    const char* mmdd = "0401";
    const char* crew = "山田太郎";
};

class JourneyLogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::ensureGuiApplication(); // fonts are measured
        ParadoxDriver::registerDriver();
        QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, Connection);
        db.setDatabaseName(folder_.path());
        ASSERT_TRUE(db.open());
        exec(TableManagement::prepareCommand(
            TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"),
            "ab12"));
        rows_.setConnectionName(Connection);
        rows_.setCommandText(QStringLiteral("SELECT * FROM ab12 ORDER BY ct,sb"));
    }
    void TearDown() override
    {
        rows_.close();
        QSqlDatabase::database(Connection, false).close();
        QSqlDatabase::removeDatabase(Connection);
    }

    void exec(const QString& sql)
    {
        QSqlQuery query(QSqlDatabase::database(Connection));
        ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
    }

    report::PageModel print(const std::vector<Entry>& entries)
    {
        int ct = 0;
        for (const Entry& e : entries)
            exec(QStringLiteral("INSERT INTO ab12 (ct, sb, pageno, yyyy, mmdd, crew, outtime, "
                                "offtime, ontime, intime, blocktime, flighttime, sincema) "
                                "VALUES (%1, 0, %2, '%3', '%4', '%5', '09:10', '09:15', "
                                "'10:05', '10:08', '00:58', '00:50', '1235:00')")
                     .arg(++ct)
                     .arg(e.pageno)
                     .arg(e.yyyy, e.mmdd, QString::fromUtf8(e.crew)));
        rows_.open();
        TSkelvoPrintForm form(rows_, QStringLiteral("ab12"), oldPattern_);
        return form.Report.run();
    }

    // The texts an element printed on a page, in order.
    static QStringList texts(const report::Page& page, const char* name)
    {
        QStringList found;
        for (const report::PageItem& item : page.items) {
            if (item.name == QLatin1StringView(name))
                found.append(item.text);
        }
        return found;
    }

    static constexpr const char* Connection = "journey log";
    testsupport::TempFolder folder_;
    DataSet rows_;
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
    const report::Page& page = model.pages.first();
    const QPointF origin(20, 10); // the left and top margins
    int checked = 0;
    for (const BandLayout::Element& e : JourneyLogLayout::pageHeader()) {
        if (e.autoSize || QLatin1StringView(e.name) == QLatin1StringView("QRShape28"))
            continue;
        for (const report::PageItem& item : page.items) {
            if (item.name != QLatin1StringView(e.name))
                continue;
            const QRectF expected(origin + QPointF(e.left, e.top), QSizeF(e.width, e.height));
            EXPECT_NEAR(item.rectMm.left(), expected.left(), 0.05) << e.name;
            EXPECT_NEAR(item.rectMm.top(), expected.top(), 0.05) << e.name;
            EXPECT_NEAR(item.rectMm.width(), expected.width(), 0.05) << e.name;
            EXPECT_NEAR(item.rectMm.height(), expected.height(), 0.05) << e.name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 35);
    EXPECT_EQ(model.paperMm, QSizeF(257, 182));
}

} // namespace
