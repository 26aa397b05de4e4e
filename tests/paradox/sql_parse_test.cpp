#include "core/error.h"
#include "paradox/sql_parser.h"
#include "tests/testsupport/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using namespace paradox;
using namespace paradox::sql;

// A statement's parse tree in one line, so that cases read as text.
QString describe(const Literal& literal)
{
    switch (literal.kind) {
    case Literal::Kind::Null:
        return "NULL";
    case Literal::Kind::Text:
        return '\'' + literal.text + '\'';
    case Literal::Kind::Number:
        return '#' + literal.text;
    case Literal::Kind::Boolean:
        return literal.truth ? "TRUE" : "FALSE";
    case Literal::Kind::Parameter:
        return '?' + QString::number(literal.parameter);
    }
    return {};
}

QString describe(const Condition& condition)
{
    static const char* const comparisons[] = {"=", "<>", "<", "<=", ">", ">="};
    switch (condition.kind) {
    case Condition::Kind::Compare:
        return condition.column + ' ' + comparisons[int(condition.comparison)] + ' ' +
               describe(condition.value);
    case Condition::Kind::IsNull:
        return condition.column + " IS NULL";
    case Condition::Kind::IsNotNull:
        return condition.column + " IS NOT NULL";
    case Condition::Kind::Not:
        return "NOT " + describe(condition.operands[0]);
    case Condition::Kind::And:
    case Condition::Kind::Or:
        return '(' + describe(condition.operands[0]) +
               (condition.kind == Condition::Kind::And ? " AND " : " OR ") +
               describe(condition.operands[1]) + ')';
    }
    return {};
}

QString where(const std::optional<Condition>& condition)
{
    return condition ? " WHERE " + describe(*condition) : QString();
}

// Paradox's own letters for field types.
QString describe(const Field& field)
{
    static const std::pair<FieldType, const char*> letters[] = {
        {FieldType::Alpha, "A"},  {FieldType::Short, "S"},         {FieldType::Long, "I"},
        {FieldType::Number, "N"}, {FieldType::Currency, "$"},      {FieldType::Logical, "L"},
        {FieldType::Date, "D"},   {FieldType::Time, "T"},          {FieldType::Timestamp, "@"},
        {FieldType::Memo, "M"},   {FieldType::AutoIncrement, "+"},
    };
    for (const auto& [type, letter] : letters) {
        if (type == field.type)
            return QStringLiteral("%1 %2%3").arg(field.name, letter).arg(field.size);
    }
    return field.name + " ?";
}

struct Describer
{
    QString operator()(const SelectStatement& s) const
    {
        QStringList order;
        for (const OrderKey& key : s.orderBy)
            order.append(key.column + (key.descending ? " DESC" : " ASC"));
        return "SELECT " +
               (s.countRows           ? "COUNT(*)"
                : s.columns.isEmpty() ? "*"
                                      : s.columns.join(',')) +
               " FROM " + s.table + where(s.where) +
               (order.isEmpty() ? QString() : " ORDER BY " + order.join(", "));
    }
    QString operator()(const InsertStatement& s) const
    {
        QStringList values;
        for (const Literal& value : s.values)
            values.append(describe(value));
        return "INSERT " + s.table + " (" + s.columns.join(',') + ") " + values.join(',');
    }
    QString operator()(const UpdateStatement& s) const
    {
        QStringList sets;
        for (const Assignment& assignment : s.assignments)
            sets.append(assignment.column + '=' + describe(assignment.value));
        return "UPDATE " + s.table + " SET " + sets.join(',') + where(s.where);
    }
    QString operator()(const DeleteStatement& s) const
    {
        return "DELETE " + s.table + where(s.where);
    }
    QString operator()(const DropTableStatement& s) const { return "DROP " + s.table; }
    QString operator()(const CreateTableStatement& s) const
    {
        QStringList fields;
        for (const Field& field : s.fields)
            fields.append(describe(field));
        return "CREATE " + s.table + " (" + fields.join(", ") + ')';
    }
    QString operator()(const CreateIndexStatement& s) const
    {
        return QString("INDEX ") + (s.unique ? "UNIQUE " : "") + s.index + " ON " + s.table + " (" +
               s.columns.join(',') + ')';
    }
    QString operator()(const SavepointStatement& s) const
    {
        return (s.rollBack ? "ROLLBACK TO " : "SAVEPOINT ") + s.name;
    }
};

// The parse tree, or "error: " and the message.
QString parsed(const QString& statement)
{
    try {
        return std::visit(Describer(), parseStatement(statement));
    } catch (const SkelvoError& error) {
        return "error: " + error.message();
    }
}

struct ParseCase
{
    const char* statement;
    const char* expected; // the tree, or "error: " and a part of the message
};

void expectParses(const ParseCase& c)
{
    SCOPED_TRACE(c.statement);
    const QString result = parsed(QString::fromUtf8(c.statement));
    const QString expected = QString::fromUtf8(c.expected);
    if (expected.startsWith("error: ")) {
        EXPECT_TRUE(result.startsWith("error: ")) << result.toStdString();
        EXPECT_TRUE(result.contains(expected.mid(7))) << result.toStdString();
    } else {
        EXPECT_EQ(result, expected);
    }
}

TEST(SqlParse, ReadsSelect)
{
    const ParseCase cases[] = {
        {"SELECT * FROM ab12", "SELECT * FROM ab12"},
        {"select * from AB12  ORDER BY ct,sb;", "SELECT * FROM AB12 ORDER BY ct ASC, sb ASC"},
        {"SELECT ct, \"sb\" FROM \"AB12.DB\" ORDER BY ct DESC, sb asc",
         "SELECT ct,sb FROM AB12.DB ORDER BY ct DESC, sb ASC"},
        {"SELECT COUNT(*) FROM ab12 WHERE ct = 3 AND sb = 0",
         "SELECT COUNT(*) FROM ab12 WHERE (ct = #3 AND sb = #0)"},
        {"SELECT * FROM ab12.db", "SELECT * FROM ab12.db"},
        {"SELECT * FROM 2345", "SELECT * FROM 2345"},
        {"SELECT * FROM 12ab", "SELECT * FROM 12ab"},
        {"SELECT * FROM 記号", "SELECT * FROM 記号"},
        // AND binds tighter than OR; NOT tighter than both.
        {"SELECT * FROM t WHERE a = 1 OR b = 2 AND NOT c = 3",
         "SELECT * FROM t WHERE (a = #1 OR (b = #2 AND NOT c = #3))"},
        {"SELECT * FROM t WHERE (a = 1 OR b = 2) AND c IS NOT NULL",
         "SELECT * FROM t WHERE ((a = #1 OR b = #2) AND c IS NOT NULL)"},
        // A literal on the left turns the comparison around.
        {"SELECT * FROM t WHERE 5 < ct", "SELECT * FROM t WHERE ct > #5"},
        {"SELECT * FROM t WHERE -1.5e+3 >= x", "SELECT * FROM t WHERE x <= #-1.5e+3"},
        {"SELECT * FROM t WHERE a != 'x' AND b <> +7 AND c IS NULL",
         "SELECT * FROM t WHERE ((a <> 'x' AND b <> #7) AND c IS NULL)"},
        {"SELECT * FROM t WHERE flag = true OR other = FALSE OR x = null",
         "SELECT * FROM t WHERE ((flag = TRUE OR other = FALSE) OR x = NULL)"},
        {"SELECT * FROM t --the rest\r\n  WHERE a = .5", "SELECT * FROM t WHERE a = #.5"},
        {"SELECT * FROM t WHERE a = 1 OR", "error: 列名または値が必要です。 (文の終わり)"},
        {"SELECT * FROM t WHERE a = b", "error: 値が必要です"},
        {"SELECT * FROM t WHERE 1 = 1", "error: 値どうしは比較できません"},
        {"SELECT * FROM t WHERE a LIKE 'x%'", "error: 比較"},
        {"SELECT * FROM t WHERE a IS 5", "error: NULL が必要です"},
        {"SELECT * t", "error: FROM が必要です。 (10 文字目「t」の所)"},
        {"SELECT * FROM t ORDER ct", "error: BY が必要です"},
        {"SELECT * FROM t; SELECT * FROM u", "error: 一度に実行できる SQL 文は一つだけです"},
        {"SELECT * FROM t u", "error: 文の終わりに余分な語があります"},
        {"SELECT * FROM \"\"", "error: 名前が空です"},
        {"SELECT * FROM t WHERE a = 1.5x", "error: 数値 1.5x"},
    };
    for (const ParseCase& c : cases)
        expectParses(c);
}

// Texts as Qt's drivers write values into statements: doubled quotes only;
// a backslash is an ordinary character.
TEST(SqlParse, ReadsInsertUpdateDelete)
{
    const ParseCase cases[] = {
        {"INSERT INTO ab12 (ct,sb,mmdd,crew) VALUES ('7','0','0703','it''s \\n, \"x\"')",
         "INSERT ab12 (ct,sb,mmdd,crew) '7','0','0703','it's \\n, \"x\"'"},
        {"INSERT INTO ab12 VALUES (NULL, -5, 1e-07, true, '', '日本語')",
         "INSERT ab12 () NULL,#-5,#1e-07,TRUE,'','日本語'"},
        {"insert into \"ab12\" (a) values ('''')", "INSERT ab12 (a) '''"},
        {"INSERT INTO t (a, b) VALUES (1)", "error: 列が 2 個、値が 1 個あります"},
        {"INSERT INTO t (a) VALUES (b)", "error: 値 ("},
        {"INSERT INTO t (a) VALUES ('x", "error: 引用符 ' が閉じていません"},
        {"INSERT INTO t (a) VALUES (1), (2)", "error: 文の終わりに余分な語があります"},
        {"UPDATE t SET crew = 'x' WHERE id = 5", "UPDATE t SET crew='x' WHERE id = #5"},
        {"UPDATE t SET a = 1, b = NULL", "UPDATE t SET a=#1,b=NULL"},
        {"UPDATE t SET a = 1 WHERE remarks IS NULL AND ct = '3'",
         "UPDATE t SET a=#1 WHERE (remarks IS NULL AND ct = '3')"},
        {"UPDATE t SET a", "error: '=' が必要です"},
        {"UPDATE t SET a = ?, b = 'x?' WHERE id = ? AND sb = ?",
         "UPDATE t SET a=?0,b='x?' WHERE (id = ?1 AND sb = ?2)"},
        {"DELETE FROM t WHERE ct = 3 AND sb = 0", "DELETE t WHERE (ct = #3 AND sb = #0)"},
        {"DELETE FROM \"AB12\"", "DELETE AB12"},
        {"DELETE t", "error: FROM が必要です"},
        {"DROP TABLE ab12", "DROP ab12"},
        {"drop table \"ab12.DB\";", "DROP ab12.DB"},
        {"SAVEPOINT skelvo_row", "SAVEPOINT skelvo_row"},
        {"ROLLBACK TO SAVEPOINT skelvo_row", "ROLLBACK TO skelvo_row"},
        {"rollback to p1;", "ROLLBACK TO p1"},
        {"ROLLBACK", "error: ROLLBACK はこの"},
    };
    for (const ParseCase& c : cases)
        expectParses(c);
}

TEST(SqlParse, ReadsTableDefinitions)
{
    const ParseCase cases[] = {
        {"CREATE TABLE \"ab12.DB\" (\r\n  id AUTOINC,\r\n  ct INTEGER,\r\n  sb INT,\r\n"
         "  callsign ALPHA(16),\r\n  crew CHAR(255),\r\n  mmdd VarChar(4),\r\n  ovh "
         "SMALLINT\r\n)\r\n",
         "CREATE ab12.DB (id +4, ct I4, sb I4, callsign A16, crew A255, mmdd A4, ovh S2)"},
        {"CREATE TABLE t (a LONG, b BOOLEAN, c LOGICAL, d NUMERIC(10,2), e FLOAT, f NUMBER, "
         "g MONEY, h DATE, i TIME, j TIMESTAMP, k BLOB(20,1), l NUMERIC(5))",
         "CREATE t (a I4, b L1, c L1, d N8, e N8, f N8, g $8, h D4, i T4, j @8, k M30, l N8)"},
        {"CREATE TABLE t (date DATE, time TIME)", "CREATE t (date D4, time T4)"},
        {"CREATE TABLE t (a CHAR(0))", "error: CHAR の長さは 1 から 255 までです"},
        {"CREATE TABLE t (a CHAR(256))", "error: CHAR の長さは 1 から 255 までです"},
        {"CREATE TABLE t (a CHAR)", "error: '(' が必要です"},
        {"CREATE TABLE t (a BLOB(20,2))", "error: BLOB は種類 1 (メモ) だけが使えます"},
        {"CREATE TABLE t (a BLOB(241,1))", "error: メモの先頭部の長さは 1 から 240 までです"},
        {"CREATE TABLE t (a TEXT)", "error: 列 a の型が分かりません"},
        {"CREATE TABLE t (a INT, A CHAR(2))", "error: 列 A が二度定義されています"},
        {"CREATE TABLE t (id INTEGER PRIMARY KEY)", "error: 主キー (PRIMARY KEY) は使えません"},
        {"CREATE TABLE t (id INTEGER, PRIMARY KEY (id))",
         "error: 主キー (PRIMARY KEY) は使えません"},
        {"CREATE TABLE t (a INT NOT NULL)", "error: 列 a の制約 NOT NULL は使えません"},
        {"CREATE TABLE t (a INT, UNIQUE (a))", "error: 表の制約 UNIQUE は使えません"},
        {"CREATE TABLE t (a INT", "error: ')' が必要です。 (文の終わり)"},
        {"CREATE INDEX ix_ct_sb ON \"ab12.DB\" (ct, sb)", "INDEX ix_ct_sb ON ab12.DB (ct,sb)"},
        {"create unique index i ON t (ct DESC)", "INDEX UNIQUE i ON t (ct)"},
    };
    for (const ParseCase& c : cases)
        expectParses(c);
}

// The message names the statement, so the user knows what the store refused.
TEST(SqlParse, RefusesOtherStatementsByName)
{
    const ParseCase cases[] = {
        {"TRUNCATE TABLE ab12", "error: TRUNCATE TABLE はこのフォルダーのテーブルでは使えない"},
        {"DROP INDEX ix ON t", "error: DROP INDEX はこの"},
        {"CREATE VIEW v AS SELECT * FROM t", "error: CREATE VIEW はこの"},
        {"CREATE UNIQUE TABLE t (a INT)", "error: CREATE UNIQUE はこの"},
        {"ALTER TABLE t ADD x INT", "error: ALTER TABLE はこの"},
        {"COMMIT", "error: COMMIT はこの"},
        {"", "error: SQL 文が空です"},
        {"-- only a comment\r\n", "error: SQL 文が空です"},
        {"(SELECT * FROM t)", "error: SQL 文の始まりが正しくありません"},
        {"SELECT * FROM t WHERE a = 1 # x", "error: 文字 # は使えません"},
    };
    for (const ParseCase& c : cases)
        expectParses(c);
}

} // namespace
