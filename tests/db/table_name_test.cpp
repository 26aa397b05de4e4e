// Table names that the stores' statements cannot carry as they stand: new
// ones are refused before anything is created; tables another program made
// under such a name still open, take changes and drop. Runs over each store.
#include "core/error.h"
#include "data/data_set.h"
#include "db/table_management.h"
#include "tests/testsupport/store_fixture.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

using testsupport::commandFile;
using testsupport::Entry;

namespace {

class TableNameTest : public testsupport::StoreTest
{
protected:
    void TearDown() override
    {
        if (!paradox() && !spaced_.isEmpty())
            QSqlQuery(other_.database()).exec(QStringLiteral("DROP TABLE IF EXISTS ") + quoted());
    }

    // The fixture's table name with a blank and more, unique to the test.
    QString spacedName(const char* suffix)
    {
        spaced_ = table_ + QLatin1Char(' ') + QLatin1StringView(suffix);
        return spaced_;
    }
    QString quoted() const { return paradox() ? u'"' + spaced_ + u'"' : u'`' + spaced_ + u'`'; }
    bool tableExists(const QString& name)
    {
        return other_.database().tables().contains(name, Qt::CaseInsensitive);
    }

    QString spaced_;
};

TEST_P(TableNameTest, NewNameTheStatementsCannotCarryIsRefusedBeforeAnythingIsMade)
{
    for (const QString& typed : {spacedName("new"), table_ + "-x", table_ + "'x", table_ + "%1"}) {
        SCOPED_TRACE(typed.toStdString());
        try {
            TableManagement::CreateLogTable(store_, typed,
                                            QStringLiteral(SKELVO_SOURCE_DIR "/commands"));
            ADD_FAILURE() << "created";
        } catch (const SkelvoError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("半角の英字"))) << error.what();
            EXPECT_TRUE(error.message().contains(u'「' + typed + u'」')) << error.what();
        }
        EXPECT_FALSE(tableExists(typed));
    }
}

TEST_P(TableNameTest, TableAnotherProgramNamedWithABlankOpensTakesChangesAndDrops)
{
    const QString name = spacedName("old");
    exec(TableManagement::prepareCommand(
        commandFile(paradox() ? "CreateTable.PRDX" : "CreateTable.MYSQL"),
        paradox() ? name : quoted()));
    table_ = quoted(); // where the fixture's other client puts and reads rows
    seed({{1, 0, "a"}, {2, 0, "b"}});

    store_.TableName = name;
    open();
    EXPECT_EQ(rows().recordCount(), 2);
    // Rows found by their store number; the number left to the store.
    rows().setFieldFlags(u"id", {false, true, true});
    rows().setFieldFlags(u"ct", {true, true, true});
    rows().setFieldFlags(u"sb", {true, true, true});
    rows().setWhereMode(WhereMode::KeyOnly);
    rows().edit();
    rows().setValue(u"crew", "A");
    rows().post();
    rows().last();
    rows().remove();
    EXPECT_EQ(rows().recordCount(), 1);
    rows().append();
    for (const auto& [field, value] :
         {std::pair<const char16_t*, QVariant>{u"ct", 3}, {u"sb", 0}, {u"crew", "c"}})
        rows().setValue(field, value);
    rows().post();
    send();
    EXPECT_EQ(stored(), (QList<Entry>{{1, 0, "A"}, {3, 0, "c"}}));

    TableManagement::EmptyLogTable(store_);
    EXPECT_TRUE(stored().isEmpty());

    TableManagement::DropLogTable(store_, name);
    EXPECT_FALSE(tableExists(name));
}

INSTANTIATE_TEST_SUITE_P(Stores, TableNameTest, testsupport::allStores(),
                         testsupport::storeTestName);

} // namespace
