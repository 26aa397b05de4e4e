#include "tests/app_grid/grid_fixture.h"

#include "app/grid/frozen_column_view.h"
#include "paradox/paradox_driver.h"
#include "tests/testsupport/gui_application.h"

#include <QHeaderView>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace gridtest {

namespace {

constexpr const char* Connection = "grid rows";

} // namespace

void GridTest::SetUp()
{
    testsupport::ensureGuiApplication();
    ParadoxDriver::registerDriver();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, Connection);
        db.setDatabaseName(folder_.path());
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("CREATE TABLE \"t.DB\" (ct INTEGER, crew CHAR(40), "
                                              "place CHAR(20), memo CHAR(20))")))
            << query.lastError().text().toStdString();
        for (int ct = 1; ct <= 5; ++ct) {
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO t (ct, crew, place, memo) VALUES "
                                                  "(%1, '乗員%1', '場所%1', 'メモ%1')")
                                       .arg(ct)))
                << query.lastError().text().toStdString();
        }
    }
    rows_.setConnectionName(Connection);
    rows_.setCommandText(QStringLiteral("SELECT * FROM t ORDER BY ct"));
    rows_.setUpdateTable(QStringLiteral("t"));
    rows_.open();
    source_.setDataSet(&rows_);

    grid_ = std::make_unique<TFixDBGrid>();
    grid_->setDataSource(&source_);
    grid_->setColumns({{"ct", "CT", 100, true},
                       {"crew", "乗組員", 100, true},
                       {"place", "場所", 100, true},
                       {"memo", "メモ", 100, true}});
    grid_->resize(300, 220);
    grid_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid_.get()));
    grid_->setFocus();
}

void GridTest::TearDown()
{
    grid_.reset();
    rows_.close();
    QSqlDatabase::database(Connection, false).close();
    QSqlDatabase::removeDatabase(Connection);
}

FrozenColumnView* GridTest::frozenView()
{
    return grid_->findChild<FrozenColumnView*>();
}

QModelIndex GridTest::cell(int row, int column)
{
    return grid_->model()->index(row, column);
}

void GridTest::clickCell(int row, int column)
{
    grid_->scrollTo(cell(row, column));
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {},
                      grid_->visualRect(cell(row, column)).center());
}

QPoint GridTest::titleCentre(int column)
{
    const QHeaderView* titles = grid_->horizontalHeader();
    return {titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
            titles->height() / 2};
}

void GridTest::clickTitle(int column)
{
    QTest::mouseClick(grid_->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      titleCentre(column));
}

void GridTest::key(int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(grid_.get(), Qt::Key(key), modifiers);
}

void GridTest::startAt(int row, int column)
{
    grid_->setCurrentIndex(cell(row, column));
}

} // namespace gridtest
