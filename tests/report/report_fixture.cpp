#include "tests/report/report_fixture.h"

#include "paradox/paradox_driver.h"
#include "tests/testsupport/gui_application.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace reporttest {

namespace {
int nextConnection = 0;
}

void ReportTest::SetUp()
{
    testsupport::ensureGuiApplication(); // fonts need one
    ParadoxDriver::registerDriver();
    connection_ = QStringLiteral("report %1").arg(++nextConnection);
    QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, connection_);
    db.setDatabaseName(folder_.path());
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE words (n INTEGER, word CHAR(40))")))
        << query.lastError().text().toStdString();
    rows_.setConnectionName(connection_);
    rows_.setCommandText(QStringLiteral("SELECT * FROM words ORDER BY n"));

    report::PageSetup& page = report_.page;
    page.paperSize = QPageSize::Custom;
    page.widthMm = 100;
    page.lengthMm = 100;
    page.marginsMm = QMarginsF(5, 5, 5, 5);
    const report::Font font{QStringLiteral("ＭＳ Ｐ明朝"), 9, false};
    report_.pageHeader.name = QStringLiteral("Header");
    report_.pageHeader.heightMm = 10;
    report_.pageHeader.addLabel(QStringLiteral("Title"), QRectF(2, 1, 30, 4),
                                QStringLiteral("見出し"), font);
    report_.detail.name = QStringLiteral("Detail");
    report_.detail.heightMm = 10;
    report_.detail.addDataText(QStringLiteral("Word"), QRectF(2, 1, 30, 4), QStringLiteral("word"),
                               font);
    report_.pageFooter.name = QStringLiteral("Footer");
    report_.pageFooter.heightMm = 10;
    report_.pageFooter.addLabel(QStringLiteral("Note"), QRectF(2, 1, 30, 4), QStringLiteral("記事"),
                                font);
}

void ReportTest::TearDown()
{
    rows_.close();
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

void ReportTest::seed(const QStringList& words)
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    for (int n = 1; n <= words.size(); ++n)
        ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO words (n, word) VALUES (%1, '%2')")
                                   .arg(n)
                                   .arg(words[n - 1])))
            << query.lastError().text().toStdString();
    rows_.open();
}

QString ReportTest::currentRow() const
{
    return rows_.eof() && rows_.isEmpty() ? QStringLiteral("-") : rows_.asString(u"n");
}

void ReportTest::traceEvents()
{
    report_.beforePrint = [this] { trace_.append("before:" + currentRow()); };
    report_.startPage = [this] { trace_.append("start:" + currentRow()); };
    report_.pageHeaderBeforePrint = [this] { trace_.append("header:" + currentRow()); };
    report_.detailBeforePrint = [this](bool&) { trace_.append("detail:" + currentRow()); };
}

QStringList ReportTest::texts(const report::Page& page, const QString& name) const
{
    QStringList result;
    for (const report::PageItem& item : page.items)
        if (item.name == name)
            result.append(item.text);
    return result;
}

const report::PageItem* ReportTest::item(const report::Page& page, const QString& name) const
{
    for (const report::PageItem& item : page.items)
        if (item.name == name)
            return &item;
    return nullptr;
}

} // namespace reporttest
