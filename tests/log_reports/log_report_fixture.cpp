#include "tests/log_reports/log_report_fixture.h"

#include "db/table_management.h"
#include "paradox/paradox_driver.h"
#include "tests/testsupport/gui_application.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace printtest {

namespace {

constexpr const char* Connection = "log reports";

void exec(const QString& sql)
{
    QSqlQuery query(QSqlDatabase::database(Connection));
    ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString();
}

} // namespace

void LogReportTest::SetUp()
{
    testsupport::ensureGuiApplication(); // fonts are measured
    ParadoxDriver::registerDriver();
    QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, Connection);
    db.setDatabaseName(folder_.path());
    ASSERT_TRUE(db.open());
    exec(TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"), "ab12"));
    rows_.setConnectionName(Connection);
    rows_.setCommandText(QStringLiteral("SELECT * FROM ab12 ORDER BY ct,sb"));
}

void LogReportTest::TearDown()
{
    rows_.close();
    QSqlDatabase::database(Connection, false).close();
    QSqlDatabase::removeDatabase(Connection);
}

DataSet& LogReportTest::fill(const std::vector<Entry>& entries)
{
    rows_.close();
    exec(QStringLiteral("DELETE FROM ab12"));
    int ct = 0;
    for (const Entry& e : entries)
        exec(QStringLiteral(
                 "INSERT INTO ab12 (ct, sb, pageno, e_pageno, p_pageno, ovh, e_ovh, p_ovh, yyyy, "
                 "mmdd, crew, remarks, outtime, offtime, ontime, intime, blocktime, flighttime, "
                 "sincema, e_groundtime, e_flighttime, e_totaltime, e_sincema, e_sinceov, "
                 "p_groundtime, p_flighttime, p_totaltime, p_sincema, p_sinceov, intention, "
                 "depart, arrive, sign) VALUES (%1, 0, "
                 "%2, %3, %4, %5, %6, %7, '%8', '%9', '%10', '%11', '09:10', '09:15', '10:05', "
                 "'10:08', '00:58', '00:50', '1235:00', '00:08', '00:50', '00:58', '845:30', "
                 "'120:40', '00:08', '00:50', '00:58', '640:10', '60:20', '%12', '%13', '%14', "
                 "'%15')")
                 .arg(++ct)
                 .arg(e.pageno)
                 .arg(e.e_pageno)
                 .arg(e.p_pageno)
                 .arg(e.ovh)
                 .arg(e.e_ovh)
                 .arg(e.p_ovh)
                 .arg(e.yyyy, e.mmdd, QString::fromUtf8(e.crew), QString::fromUtf8(e.remarks),
                      QString::fromUtf8(e.intention), QString::fromUtf8(e.depart),
                      QString::fromUtf8(e.arrive), QString::fromUtf8(e.sign)));
    rows_.open();
    return rows_;
}

QStringList LogReportTest::texts(const report::Page& page, const char* name)
{
    QStringList found;
    for (const report::PageItem& item : page.items) {
        if (item.name == QLatin1StringView(name))
            found.append(item.text);
    }
    return found;
}

int LogReportTest::expectPlaced(const report::Page& page,
                                std::span<const BandLayout::Element> layout, QPointF origin)
{
    int checked = 0;
    for (const BandLayout::Element& e : layout) {
        // Auto-sized texts keep only their aligned edge.
        if (e.autoSize)
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
            break;
        }
    }
    return checked;
}

} // namespace printtest
