#include "data/data_set.h"
#include "data/data_set_model.h"
#include "data/data_source.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/store_servers.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class DataSetModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.isOpen());
        ASSERT_TRUE(table_.create("CREATE TABLE %% (id INT AUTO_INCREMENT PRIMARY KEY, ct INT, "
                                  "crew VARCHAR(40))"));
        QSqlQuery(server_.database())
            .exec(QStringLiteral("INSERT INTO %1 (ct, crew) VALUES (1, 'a'), (2, 'b'), (3, 'c')")
                      .arg(table_.name()));
        rows_.setConnectionName(QStringLiteral("model rows"));
        rows_.setCommandText(QStringLiteral("SELECT * FROM %1 ORDER BY ct").arg(table_.name()));
        rows_.setUpdateTable(table_.name());
        rows_.setIdentityField(QStringLiteral("id"));
        rows_.open();
        source_.setDataSet(&rows_);
        model_.setColumns({{"crew", "乗組員氏名"}, {"ct", "CT"}, {"missing", "?"}});
    }

    testsupport::ServerConnection server_{testsupport::StoreServer::MariaDb, "model rows"};
    testsupport::ScratchTable table_{server_.database()};
    DataSet rows_;
    DataSource source_;
    DataSetModel model_{&source_};
    QAbstractItemModelTester tester_{&model_,
                                     QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(DataSetModelTest, ShowsRowsAndTitles)
{
    EXPECT_EQ(model_.rowCount(), 3);
    EXPECT_EQ(model_.columnCount(), 3);
    EXPECT_EQ(model_.headerData(0, Qt::Horizontal).toString(), "乗組員氏名");
    EXPECT_EQ(model_.index(1, 0).data().toString(), "b");
    EXPECT_EQ(model_.index(2, 1).data().toString(), "3");
    EXPECT_FALSE(model_.index(0, 2).data().isValid()); // a field the rows lack shows nothing
}

TEST_F(DataSetModelTest, OneRowChangeUpdatesThatRowWithoutAReset)
{
    QSignalSpy resets(&model_, &QAbstractItemModel::modelReset);
    QSignalSpy changes(&model_, &QAbstractItemModel::dataChanged);
    QSignalSpy inserts(&model_, &QAbstractItemModel::rowsInserted);
    QSignalSpy removes(&model_, &QAbstractItemModel::rowsRemoved);

    rows_.setRecNo(2);
    rows_.edit();
    rows_.setValue(u"crew", "B");
    rows_.post();
    ASSERT_GE(changes.count(), 1);
    EXPECT_EQ(changes.last().at(0).toModelIndex().row(), 1);
    EXPECT_EQ(model_.index(1, 0).data().toString(), "B");

    rows_.insert();
    rows_.setValue(u"crew", "new");
    rows_.post();
    ASSERT_EQ(inserts.count(), 1);
    EXPECT_EQ(inserts.first().at(1).toInt(), 1);
    EXPECT_EQ(model_.rowCount(), 4);

    rows_.remove();
    EXPECT_EQ(removes.count(), 1);
    EXPECT_EQ(model_.rowCount(), 3);
    EXPECT_EQ(resets.count(), 0);
}

TEST_F(DataSetModelTest, SuspendedControlsCatchUpWithOneReset)
{
    QSignalSpy resets(&model_, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(&model_, &QAbstractItemModel::rowsInserted);
    rows_.disableControls();
    rows_.disableControls(); // nested
    rows_.append();
    rows_.setValue(u"crew", "d");
    rows_.post();
    rows_.enableControls();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(model_.rowCount(), 3); // the views still see what they were told
    rows_.enableControls();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(model_.rowCount(), 4);
}

TEST_F(DataSetModelTest, RebindingTheSourceResets)
{
    DataSet other;
    source_.setDataSet(&other);
    EXPECT_EQ(model_.rowCount(), 0);
    source_.setDataSet(&rows_);
    EXPECT_EQ(model_.rowCount(), 3);
}

} // namespace
