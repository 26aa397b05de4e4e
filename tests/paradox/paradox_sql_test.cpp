#include "core/error.h"
#include "paradox/paradox_driver.h"
#include "paradox/paradox_sql.h"
#include "paradox/sql_table_cache.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

using namespace paradox;

// A log table as the command files define it, with their line ends and
// comment lines.
const char* const CreateLogTable = "CREATE TABLE \"AB12.DB\" (\r\n"
                                   "  id        AUTOINC,\r\n"
                                   "  ct        INTEGER,\r\n"
                                   "  sb        INTEGER,\r\n"
                                   "  callsign  ALPHA(16),\r\n"
                                   "  mmdd      ALPHA(4),\r\n"
                                   "  crew      ALPHA(255),\r\n"
                                   "  ovh       SMALLINT,\r\n"
                                   "  remarks   CHAR(255)\r\n"
                                   "  -- the last column\r\n"
                                   ")\r\n";

class SqlEngineTest : public testing::Test
{
protected:
    SqlEngineTest() : engine(folder.path()) { engine.execute(CreateLogTable); }

    QueryResult run(const QString& statement) { return engine.execute(statement); }

    // The message of the error the statement raises; empty when it runs.
    QString failure(const QString& statement)
    {
        try {
            engine.execute(statement);
        } catch (const SkelvoError& error) {
            return error.message();
        }
        return {};
    }

    // Rows as text, "|" between values and "; " between rows, "-" for null.
    static QString shown(const QList<Row>& rows)
    {
        QStringList lines;
        for (const Row& row : rows) {
            QStringList values;
            for (const QVariant& value : row)
                values.append(value.isValid() ? value.toString() : QStringLiteral("-"));
            lines.append(values.join(u'|'));
        }
        return lines.join(QStringLiteral("; "));
    }

    QString select(const QString& statement) { return shown(run(statement).rows); }

    // What a fresh engine reads from the files, with no copy kept in memory.
    QString fromFile(const QString& statement)
    {
        return shown(SqlEngine(folder.path()).execute(statement).rows);
    }

    void insertLogRows()
    {
        for (const char* statement : {
                 "INSERT INTO ab12 (ct,sb,callsign,mmdd,crew,ovh) VALUES "
                 "('2','0','AB12','0703','山田 太郎','0')",
                 "INSERT INTO ab12 (ct,sb,callsign,mmdd,crew,ovh) VALUES "
                 "('1','1','AB12','0702','it''s \\a, \"b\"','1')",
                 "INSERT INTO ab12 (ct,sb,callsign,mmdd,crew,ovh) VALUES "
                 "('1','0','AB12','0701','','0')",
                 "INSERT INTO ab12 (ct, sb, callsign) VALUES (3, 0, 'AB12')",
             })
            run(QString::fromUtf8(statement));
    }

    testsupport::TempFolder folder;
    SqlEngine engine;
};

TEST_F(SqlEngineTest, CreatesTheTableTheStatementDefines)
{
    EXPECT_EQ(engine.tableNames(), QStringList{"AB12"});
    const QList<Field> fields = engine.tableFields("ab12");
    const struct
    {
        const char* name;
        FieldType type;
        int size;
    } expected[] = {
        {"id", FieldType::AutoIncrement, 4}, {"ct", FieldType::Long, 4},
        {"sb", FieldType::Long, 4},          {"callsign", FieldType::Alpha, 16},
        {"mmdd", FieldType::Alpha, 4},       {"crew", FieldType::Alpha, 255},
        {"ovh", FieldType::Short, 2},        {"remarks", FieldType::Alpha, 255},
    };
    ASSERT_EQ(fields.size(), std::size(expected));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].name, expected[i].name);
        EXPECT_EQ(fields[i].type, expected[i].type) << expected[i].name;
        EXPECT_EQ(fields[i].size, expected[i].size) << expected[i].name;
    }
    EXPECT_EQ(failure("CREATE TABLE ab12 (a INT)"),
              "テーブル AB12.DB は既にあります。\nSQL 文: CREATE TABLE ab12 (a INT)");
}

// A prepared statement with its values bound does what the statement with
// the same values written in does; a ? left in a plain statement is refused.
TEST_F(SqlEngineTest, PreparedStatementsTakeValuesAsWrittenOnes)
{
    const PreparedStatement insert = SqlEngine::prepare(
        "INSERT INTO ab12 (ct, sb, crew, mmdd, ovh, remarks) VALUES (?, ?, ?, ?, ?, ?)");
    engine.execute(insert, {7, -1, QStringLiteral("it's 山田"), QStringLiteral("0703"), true,
                            QVariant(QMetaType::fromType<QString>())});
    engine.execute(insert, {8, 2.0, QStringLiteral(""), QVariant(), false}); // one short: NULL
    run("INSERT INTO ab12 (ct, sb, crew, mmdd, ovh, remarks) "
        "VALUES (7, -1, 'it''s 山田', '0703', 1, NULL)");
    run("INSERT INTO ab12 (ct, sb, crew, mmdd, ovh, remarks) VALUES (8, 2, '', NULL, 0, NULL)");
    const QString columns = "SELECT ct, sb, crew, mmdd, ovh, remarks FROM ab12 WHERE ";
    EXPECT_EQ(select(columns + "id = 1"), select(columns + "id = 3"));
    EXPECT_EQ(select(columns + "id = 2"), select(columns + "id = 4"));

    const PreparedStatement update = SqlEngine::prepare("UPDATE ab12 SET crew = ? WHERE ct = ?");
    EXPECT_EQ(engine.execute(update, {QStringLiteral("x"), 7}).rowsAffected, 2);
    EXPECT_EQ(select("SELECT id FROM ab12 WHERE crew = 'x'"), "1; 3");
    EXPECT_TRUE(failure("UPDATE ab12 SET crew = ? WHERE ct = 7").contains("準備した文"));
    EXPECT_THROW(SqlEngine::prepare("UPDATE ab12 SET crew = ?? WHERE"), SkelvoError);
}

// Through the Qt SQL driver, values bound by position and by name reach
// the prepared statement.
TEST_F(SqlEngineTest, TheDriverBindsValuesByPositionAndByName)
{
    ParadoxDriver::registerDriver();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPARADOX"), "binding");
        db.setDatabaseName(folder.path());
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.prepare("INSERT INTO ab12 (ct, crew) VALUES (?, ?)"));
        query.addBindValue(5);
        query.addBindValue("by position");
        EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
        ASSERT_TRUE(query.prepare("INSERT INTO ab12 (ct, crew) VALUES (:ct, :crew)"));
        query.bindValue(":crew", "by name");
        query.bindValue(":ct", 6);
        EXPECT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }
    QSqlDatabase::removeDatabase("binding");
    EXPECT_EQ(select("SELECT ct, crew FROM ab12 ORDER BY ct"), "5|by position; 6|by name");
}

// Every value arrives as a quoted literal; each lands in its field's type.
TEST_F(SqlEngineTest, InsertsQuotedValuesAsTheirFieldsTypes)
{
    insertLogRows();
    const QueryResult rows = run("SELECT * FROM AB12 ORDER BY ct,sb");
    EXPECT_TRUE(rows.isSelect);
    ASSERT_EQ(rows.rows.size(), 4);
    EXPECT_EQ(rows.columns.size(), 8);
    EXPECT_EQ(shown(rows.rows), QString::fromUtf8("3|1|0|AB12|0701|-|0|-; "
                                                  "2|1|1|AB12|0702|it's \\a, \"b\"|1|-; "
                                                  "1|2|0|AB12|0703|山田 太郎|0|-; "
                                                  "4|3|0|AB12|-|-|-|-"));
    EXPECT_EQ(rows.rows[0][1].metaType(), QMetaType::fromType<int>());
    EXPECT_EQ(rows.rows[0][4].metaType(), QMetaType::fromType<QString>());
    EXPECT_EQ(fromFile("SELECT * FROM ab12 ORDER BY ct,sb"), shown(rows.rows));
}

TEST_F(SqlEngineTest, ReportsTheNumberGivenToEachNewRow)
{
    const QueryResult first = run("INSERT INTO ab12 (ct, sb) VALUES ('1', '0')");
    const QueryResult second = run("INSERT INTO ab12 (ct, sb) VALUES ('2', '0')");
    EXPECT_EQ(first.rowsAffected, 1);
    EXPECT_FALSE(first.isSelect);
    EXPECT_EQ(first.lastInsertId, QVariant(1));
    EXPECT_EQ(second.lastInsertId, QVariant(2));
    EXPECT_EQ(select("SELECT id, ct FROM ab12 ORDER BY id DESC"), "2|2; 1|1");
    // A table without a counter reports no number.
    run("CREATE TABLE plain (a INTEGER)");
    EXPECT_FALSE(run("INSERT INTO plain VALUES (5)").lastInsertId.isValid());
}

TEST_F(SqlEngineTest, SelectsByConditionAndOrder)
{
    insertLogRows();
    const struct
    {
        const char* statement;
        const char* rows;
    } cases[] = {
        {"SELECT ct, sb FROM ab12 WHERE ct = 1 ORDER BY sb DESC", "1|1; 1|0"},
        {"SELECT crew FROM ab12 WHERE crew = 'it''s \\a, \"b\"'", "it's \\a, \"b\""},
        {"SELECT id FROM ab12 WHERE mmdd >= '0702' AND NOT ovh = 1", "1"},
        {"SELECT id FROM ab12 WHERE crew = '' ORDER BY id", "3; 4"},
        {"SELECT id FROM ab12 WHERE ovh IS NULL OR ct > '2'", "4"},
        {"SELECT id FROM ab12 WHERE '0701' = mmdd", "3"},
        // Nulls sort first.
        {"SELECT id, mmdd FROM ab12 ORDER BY mmdd", "4|-; 3|0701; 2|0702; 1|0703"},
        {"SELECT COUNT(*) FROM ab12 WHERE ct = 1 AND sb = 0", "1"},
        {"SELECT COUNT(*) FROM ab12", "4"},
        {"SELECT COUNT(*) FROM ab12 WHERE ct = 9", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        EXPECT_EQ(select(QString::fromUtf8(c.statement)), QString::fromUtf8(c.rows));
    }
    // Equal keys keep the table's order.
    EXPECT_EQ(select("SELECT id FROM ab12 ORDER BY callsign"), "1; 2; 3; 4");
    const QueryResult count = run("SELECT COUNT(*) FROM ab12");
    ASSERT_EQ(count.columns.size(), 1);
    EXPECT_EQ(count.columns[0].type, FieldType::Long);
}

// A row-set's write-back checks that its statement touched exactly one row;
// an unchanged row still counts as touched.
TEST_F(SqlEngineTest, UpdatesAndCountsEveryMatchedRow)
{
    insertLogRows();
    const struct
    {
        const char* statement;
        int matched;
    } cases[] = {
        {"UPDATE ab12 SET crew = 'x' WHERE id = 2", 1},
        {"UPDATE ab12 SET crew = 'x' WHERE id = 2", 1},
        {"UPDATE ab12 SET crew = 'y' WHERE id = 99", 0},
        {"UPDATE ab12 SET ovh = '1', remarks = '備考' WHERE ct = 1", 2},
        {"UPDATE ab12 SET mmdd = NULL WHERE ct = '2' AND sb = '0'", 1},
        {"UPDATE AB12 SET callsign = 'ab12'", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        EXPECT_EQ(run(QString::fromUtf8(c.statement)).rowsAffected, c.matched);
    }
    const QString expected = QString::fromUtf8("3|1|0|ab12|0701|-|1|備考; "
                                               "2|1|1|ab12|0702|x|1|備考; "
                                               "1|2|0|ab12|-|山田 太郎|0|-; "
                                               "4|3|0|ab12|-|-|-|-");
    EXPECT_EQ(select("SELECT * FROM ab12 ORDER BY ct, sb"), expected);
    EXPECT_EQ(fromFile("SELECT * FROM ab12 ORDER BY ct, sb"), expected);
}

// Rows named by an integer value are looked up rather than searched for;
// the lookup must follow every change to that value. Each answer is checked
// against a fresh engine, which reads the file and searches.
TEST_F(SqlEngineTest, FindsRowsByValueThroughChanges)
{
    insertLogRows(); // ids 1 to 4 with ct 2, 1, 1, 3
    const struct
    {
        const char* statement;
        const char* result; // rows of a SELECT, or the count of a change
    } steps[] = {
        {"SELECT id FROM ab12 WHERE ct = 1", "2; 3"},
        {"UPDATE ab12 SET ct = 7 WHERE ct = 1 AND sb = 1", "1"},
        {"SELECT id FROM ab12 WHERE ct = 1", "3"},
        {"SELECT id FROM ab12 WHERE ct = 7", "2"},
        {"INSERT INTO ab12 (ct, sb) VALUES (7, 1)", "1"},
        {"SELECT id FROM ab12 WHERE ct = 7 AND sb = 1", "2; 5"},
        {"UPDATE ab12 SET ct = NULL WHERE id = 5", "1"},
        {"SELECT id FROM ab12 WHERE ct = 7", "2"},
        {"SELECT id FROM ab12 WHERE ct IS NULL", "5"},
        {"DELETE FROM ab12 WHERE id = 2", "1"},
        {"SELECT id FROM ab12 WHERE ct = 7", ""},
        {"UPDATE ab12 SET ct = 3 WHERE ct = 1", "1"},
        {"SELECT id FROM ab12 WHERE ct = 3", "3; 4"},
        {"UPDATE ab12 SET ct = 8, sb = 2 WHERE ct = 3", "2"},
        {"SELECT id FROM ab12 WHERE sb = 2 AND ct = '8'", "3; 4"},
        {"SELECT COUNT(*) FROM ab12 WHERE ct = 3 OR ct = 2", "1"},
        {"SELECT id FROM ab12 WHERE id = 4 AND ct = 9", ""},
        {"SELECT id FROM ab12 WHERE NOT id = 4 AND ct = 8", "3"},
        // A field whose values rise through the table is searched, not
        // hashed, until a change breaks the rise.
        {"DELETE FROM ab12 WHERE id = 5", "1"},
        {"UPDATE ab12 SET ct = 1 WHERE id = 3", "1"},
        {"SELECT id FROM ab12 WHERE ct = 8", "4"},
        {"UPDATE ab12 SET ct = 0 WHERE id = 4", "1"},
        {"SELECT id FROM ab12 WHERE ct = 0", "4"},
        {"SELECT id FROM ab12 WHERE ct = 8", ""},
        {"DELETE FROM ab12 WHERE id = 4", "1"},
        {"SELECT id FROM ab12 WHERE ct = 1", "3"},
        {"INSERT INTO ab12 (ct, sb) VALUES (1, 0)", "1"},
        {"SELECT id FROM ab12 WHERE ct = 1", "3; 6"},
        {"SELECT id FROM ab12 WHERE id = 6", "6"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.statement);
        const QueryResult result = run(step.statement);
        if (result.isSelect) {
            EXPECT_EQ(shown(result.rows), step.result);
            EXPECT_EQ(fromFile(step.statement), step.result);
        } else {
            EXPECT_EQ(QString::number(result.rowsAffected), step.result);
        }
    }
}

TEST_F(SqlEngineTest, DeletesMatchedRows)
{
    insertLogRows();
    EXPECT_EQ(run("DELETE FROM ab12 WHERE ct = 1 AND sb = 0").rowsAffected, 1);
    EXPECT_EQ(run("DELETE FROM ab12 WHERE ct = 1 AND sb = 0").rowsAffected, 0);
    EXPECT_EQ(select("SELECT id FROM ab12 ORDER BY ct, sb"), "2; 1; 4");
    // Rows after a delete are still found and changed where they now lie.
    EXPECT_EQ(run("UPDATE ab12 SET crew = 'z' WHERE id = 4").rowsAffected, 1);
    EXPECT_EQ(fromFile("SELECT id, crew FROM ab12 WHERE id = 4"), "4|z");
    EXPECT_EQ(run("DELETE FROM ab12").rowsAffected, 3);
    EXPECT_EQ(fromFile("SELECT COUNT(*) FROM ab12"), "0");
    // Numbers are not given twice.
    EXPECT_EQ(run("INSERT INTO ab12 (ct, sb) VALUES (1, 0)").lastInsertId, QVariant(5));
}

TEST_F(SqlEngineTest, DropsTablesByAnyLetterCase)
{
    run("DROP TABLE Ab12");
    EXPECT_TRUE(engine.tableNames().isEmpty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(failure("DROP TABLE ab12").startsWith("テーブル ab12.DB がありません。"));
    // The name is free again.
    run("CREATE TABLE ab12 (a INTEGER)");
    EXPECT_EQ(select("SELECT COUNT(*) FROM ab12"), "0");
}

TEST_F(SqlEngineTest, FindsTablesByNameInAnyForm)
{
    run("INSERT INTO ab12 (ct) VALUES (1)");
    for (const char* name : {"ab12", "AB12", "\"ab12\"", "\"AB12.DB\"", "ab12.db", "\"Ab12.Db\""}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(select(QStringLiteral("SELECT ct FROM %1").arg(name)), "1");
    }
    // Only the tables count, not the files beside them.
    for (const char* other : {"ab12.MB", "ab12.PX", "PDOXUSRS.LCK", "notes.txt", "x.db.tmp"})
        folder.writeFile(other, "x");
    run("CREATE TABLE \"記号\" (a INTEGER)");
    run("CREATE TABLE \"2345\" (a INTEGER)");
    run("CREATE TABLE zz (a INTEGER)");
    EXPECT_EQ(engine.tableNames(), QStringList({"2345", "AB12", "zz", "記号"}));
    EXPECT_EQ(select("SELECT COUNT(*) FROM 2345"), "0");
}

// The store's own write-back sends statements like these.
TEST_F(SqlEngineTest, RunsTheStatementsOfTheRowSetsWriteBack)
{
    insertLogRows();
    for (int id = 5; id <= 6; ++id)
        run(QStringLiteral("INSERT INTO ab12 (ct, sb, crew) VALUES (%1, 0, NULL)").arg(id - 1));
    EXPECT_EQ(run("UPDATE ab12 SET crew = 'x' WHERE id = 5").rowsAffected, 1);
    EXPECT_EQ(select("SELECT COUNT(*) FROM ab12 WHERE ct = 3 AND sb = 0"), "1");
    EXPECT_EQ(run("DELETE FROM ab12 WHERE ct = 3 AND sb = 0").rowsAffected, 1);
    // Values as Qt's default formatting writes them.
    EXPECT_EQ(
        run("UPDATE ab12 SET ovh = 1, mmdd = '0101' WHERE crew IS NULL AND ovh = 0").rowsAffected,
        1);
    EXPECT_EQ(run("UPDATE ab12 SET remarks = 'r' WHERE ct = 4 AND remarks IS NULL AND crew = 'x'")
                  .rowsAffected,
              1);
    EXPECT_EQ(fromFile("SELECT id, mmdd, ovh, remarks FROM ab12 WHERE id >= 3 ORDER BY id"),
              "3|0101|1|-; 5|-|-|r; 6|-|-|-");
}

TEST_F(SqlEngineTest, NamesWhatIsWrong)
{
    const struct
    {
        const char* statement;
        const char* message;
    } cases[] = {
        {"TRUNCATE TABLE ab12",
         "TRUNCATE TABLE はこのフォルダーのテーブルでは使えない SQL 文です。\n"
         "SQL 文: TRUNCATE TABLE ab12"},
        {"SELECT * FROM nope", "テーブル nope.DB がありません。\nSQL 文: SELECT * FROM nope"},
        {"SELECT nope FROM ab12", "テーブル AB12 に列 nope はありません。"},
        {"SELECT * FROM ab12 ORDER BY nope", "テーブル AB12 に列 nope はありません。"},
        {"INSERT INTO ab12 (ct) VALUES ('3a')",
         "列 ct には整数を入れます。'3a' は入れられません。"},
        {"INSERT INTO ab12 (ovh) VALUES (40000)", "列 ovh には-32767 から 32767 までの整数"},
        {"INSERT INTO ab12 (ct, CT) VALUES (1, 2)", "列 CT が二度指定されています。"},
        {"INSERT INTO ab12 VALUES (1, 2)", "テーブル AB12 の列は 8 個ですが、値が 2 個あります。"},
        {"INSERT INTO ab12 (id, ct) VALUES (7, 1)", "列 id はテーブルが番号を付けるため"},
        {"UPDATE ab12 SET id = 3", "列 id はテーブルが付けた番号のため、変更できません。"},
        {"UPDATE ab12 SET ct = 'x' WHERE id = 1", "列 ct には整数を入れます。"},
        {"DELETE FROM ab12 WHERE nope = 1", "テーブル AB12 に列 nope はありません。"},
        {"CREATE INDEX ix ON ab12 (ct, nope)", "テーブル AB12 に列 nope はありません。"},
        {"SELECT * FROM \"../ab12\"", "テーブル名 ../ab12 は使えません。"},
        {"DROP TABLE \"sub/ab12\"", "テーブル名 sub/ab12 は使えません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.statement);
        const QString message = failure(QString::fromUtf8(c.statement));
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << message.toStdString();
        EXPECT_TRUE(message.endsWith(QString::fromUtf8(c.statement))) << message.toStdString();
    }
    // Nothing was written by the refused statements.
    EXPECT_EQ(fromFile("SELECT COUNT(*) FROM ab12"), "0");
}

// Indexes are not kept: the statement is checked and the files stay as they are.
TEST_F(SqlEngineTest, AcceptsIndexesWithoutWritingThem)
{
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    EXPECT_EQ(run("CREATE INDEX ix_ct_sb ON \"AB12.DB\" (ct, sb)").rowsAffected, 0);
    EXPECT_EQ(run("CREATE UNIQUE INDEX ix_id ON ab12 (id)").rowsAffected, 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
}

// Another engine on the same folder (another connection, or another
// program) changes the table; the copy in memory must not hide that.
// A write that finds the file changed between the read of its copy and
// the lock is refused, and the next statement reads the table again.
TEST(TableCache, AWriteRefusesACopyTheFileNoLongerHolds)
{
    testsupport::TempFolder folder;
    SqlEngine(folder.path()).execute(CreateLogTable);
    sql::TableCache cache(folder.path());
    sql::CachedTable& copy = cache.table("ab12");
    SqlEngine(folder.path()).execute("INSERT INTO ab12 (ct) VALUES (1)");
    EXPECT_THROW(cache.requireUnchanged(copy), SkelvoError);
    EXPECT_EQ(cache.table("ab12").records.size(), 1);
    EXPECT_NO_THROW(cache.requireUnchanged(cache.table("ab12")));
}

TEST_F(SqlEngineTest, SeesChangesMadeOutsideIt)
{
    insertLogRows();
    EXPECT_EQ(select("SELECT crew FROM ab12 WHERE id = 3"), "-");
    SqlEngine other(folder.path());
    EXPECT_EQ(other.execute("UPDATE ab12 SET crew = 'other' WHERE id = 3").rowsAffected, 1);
    EXPECT_EQ(select("SELECT crew FROM ab12 WHERE id = 3"), "other");
    other.execute("DELETE FROM ab12 WHERE id = 1");
    other.execute("INSERT INTO ab12 (ct) VALUES (9)");
    EXPECT_EQ(select("SELECT id FROM ab12 ORDER BY id"), "2; 3; 4; 5");
    EXPECT_EQ(run("UPDATE ab12 SET crew = 'mine' WHERE id = 5").rowsAffected, 1);
    EXPECT_EQ(other.execute("SELECT crew FROM ab12 WHERE id = 5").rows, QList<Row>{{"mine"}});
    other.execute("DROP TABLE ab12");
    EXPECT_TRUE(failure("SELECT * FROM ab12").startsWith("テーブル ab12.DB がありません。"));
}

// What the engine keeps after a write is what the file holds, also when
// the table stores a value otherwise than given: characters the code page
// holds only as a look-alike, stored as that. A text wider than its field
// is refused, never cut.
TEST_F(SqlEngineTest, KeepsWhatTheFileHolds)
{
    run("INSERT INTO ab12 (ct, callsign, mmdd) VALUES (1, 'ABCDEFGHIJKLMNOP', '0701')");
    const QString tooLong = failure("UPDATE ab12 SET mmdd = '日本語です' WHERE ct = 1");
    EXPECT_TRUE(tooLong.contains("mmdd") && tooLong.contains("4 バイトまで"))
        << tooLong.toStdString();
    run("INSERT INTO ab12 (ct, crew) VALUES (2, '  spaced  ')");
    const struct
    {
        const char* given;
        const char* stored;
    } lookAlikes[] = {
        {"10:00〜11:00 ¥500", "10:00～11:00 \\500"},
        {"−5 ‖ ¢ £ ¬", "－5 ∥ ￠ ￡ ￢"},
        {"A—B", "A―B"},
    };
    for (const auto& text : lookAlikes) {
        const QString given = QString::fromUtf8(text.given);
        run(QStringLiteral("INSERT INTO ab12 (ct, crew) VALUES (3, '%1')").arg(given));
        run(QStringLiteral("UPDATE ab12 SET remarks = '%1' WHERE ct = 3").arg(given));
        const QString stored = QString::fromUtf8(text.stored);
        EXPECT_EQ(select("SELECT crew, remarks FROM ab12 WHERE ct = 3"), stored + u'|' + stored);
        run("DELETE FROM ab12 WHERE ct = 3");
    }
    run("INSERT INTO ab12 (ct, crew) VALUES (4, '〜')");
    const QString query = "SELECT callsign, mmdd, crew FROM ab12 ORDER BY ct";
    EXPECT_EQ(select(query), fromFile(query));
}

// A transaction's writes reach other readers at its commit; a rollback,
// or going back to a savepoint, undoes them in the engine's copy and in
// the file alike.
TEST_F(SqlEngineTest, GroupsWritesInTransactionsWithSavepoints)
{
    insertLogRows();
    const QString query = "SELECT id, crew FROM ab12 ORDER BY id";
    const QString before = select(query);

    engine.beginTransaction();
    run("UPDATE ab12 SET crew = 'one' WHERE id = 1");
    run("SAVEPOINT skelvo_row");
    run("UPDATE ab12 SET crew = 'two' WHERE id = 2");
    run("INSERT INTO ab12 (ct, crew) VALUES (9, 'new')");
    run("ROLLBACK TO SAVEPOINT skelvo_row");
    EXPECT_EQ(select("SELECT crew FROM ab12 WHERE id <= 2 OR ct = 9 ORDER BY id"),
              "one; it's \\a, \"b\"");
    EXPECT_TRUE(failure("DROP TABLE ab12").contains("トランザクションの中では"));
    EXPECT_TRUE(failure("ROLLBACK TO SAVEPOINT other").contains("セーブポイント other"));
    engine.rollBack();
    EXPECT_EQ(select(query), before);
    EXPECT_EQ(fromFile(query), before);

    engine.beginTransaction();
    run("UPDATE ab12 SET crew = 'kept' WHERE id = 3");
    run("INSERT INTO ab12 (ct, crew) VALUES (9, 'new')");
    engine.commit();
    EXPECT_EQ(fromFile("SELECT id, crew FROM ab12 WHERE id >= 3 ORDER BY id"),
              "3|kept; 4|-; 5|new");
    EXPECT_THROW(engine.commit(), SkelvoError);
}

// A statement that writes several rows and stops on one of them, as on a
// full disk, leaves none of them written.
TEST_F(SqlEngineTest, AStatementCountsWholeOrNotAtAll)
{
    insertLogRows();
    const QString query = "SELECT id, crew FROM ab12 ORDER BY id";
    const QString before = select(query);
    // The rows are written at the statement's end: stopped once they are in the file.
    Table::setStepHook([&](const char* step) {
        if (std::string(step) == "files written")
            throw SkelvoError(QStringLiteral("ディスクがいっぱいです。"));
    });
    EXPECT_TRUE(failure("UPDATE ab12 SET crew = 'all'").contains("ディスクがいっぱいです。"));
    Table::setStepHook({});
    EXPECT_EQ(select(query), before);
    EXPECT_EQ(fromFile(query), before);
}

} // namespace
