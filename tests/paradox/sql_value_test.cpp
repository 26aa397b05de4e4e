#include "core/error.h"
#include "paradox/sql_condition.h"
#include "paradox/sql_parser.h"
#include "paradox/sql_value.h"
#include "tests/testsupport/qt_printers.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

using namespace paradox;
using namespace paradox::sql;

Literal text(const char* value)
{
    return {Literal::Kind::Text, QString::fromUtf8(value)};
}

Literal number(const char* value)
{
    return {Literal::Kind::Number, value};
}

Literal truth(bool value)
{
    return {Literal::Kind::Boolean, value ? "TRUE" : "FALSE", value};
}

struct ValueCase
{
    FieldType type;
    Literal literal;
    QVariant expected; // QVariant() for null
    const char* error = nullptr;
};

// A literal becomes a value of its field's type, or an error naming the field.
TEST(SqlValue, ConvertsLiteralsToTheFieldsType)
{
    const ValueCase cases[] = {
        {FieldType::Long, text("5"), 5},
        {FieldType::Long, text(" 7 "), 7},
        {FieldType::Long, text("5.0"), 5},
        {FieldType::Long, text("007"), 7},
        {FieldType::Long, number("-5"), -5},
        {FieldType::Long, number("1e3"), 1000},
        {FieldType::Long, truth(true), 1},
        {FieldType::Long, text(""), QVariant()},
        {FieldType::Long, Literal(), QVariant()},
        {FieldType::Long, text("abc"), {}, "列 f には整数を入れます。'abc' は入れられません。"},
        {FieldType::Long, text("5.5"), {}, "整数"},
        {FieldType::Long, number("2147483648"), {}, "-2147483647 から 2147483647 までの整数"},
        {FieldType::Long, number("1e+20"), {}, "整数"},
        {FieldType::Short, number("-32767"), -32767},
        {FieldType::Short, text("32768"), {}, "-32767 から 32767 までの整数"},
        {FieldType::AutoIncrement, text("12"), 12},
        {FieldType::Alpha, text("0703"), "0703"},
        {FieldType::Alpha, text(" a "), " a "},
        {FieldType::Alpha, number("-5"), "-5"},
        {FieldType::Alpha, truth(false), "0"},
        {FieldType::Memo, text("it's"), "it's"},
        {FieldType::Number, text("1.5"), 1.5},
        {FieldType::Number, number("1e+20"), 1e20},
        {FieldType::Currency, number("-0.25"), -0.25},
        {FieldType::Number, text("1,5"), {}, "数値"},
        {FieldType::Number, text("nan"), {}, "数値"},
        {FieldType::Logical, text("1"), true},
        {FieldType::Logical, text("False"), false},
        {FieldType::Logical, number("0"), false},
        {FieldType::Logical, truth(true), true},
        {FieldType::Logical, text("yes"), {}, "真偽値"},
        {FieldType::Date, text("2024-03-05"), QDate(2024, 3, 5)},
        {FieldType::Date, text("2024-03-05T09:05:07"), QDate(2024, 3, 5)},
        {FieldType::Date, text("05/03/2024"), {}, "日付"},
        {FieldType::Date, number("20240305"), {}, "日付"},
        {FieldType::Time, text("09:05:07"), QTime(9, 5, 7)},
        {FieldType::Time, text("09:05:07.120"), QTime(9, 5, 7, 120)},
        {FieldType::Time, text("9:5"), {}, "時刻"},
        {FieldType::Timestamp, text("2024-03-05T09:05:07"),
         QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7))},
        {FieldType::Timestamp, text("2024-03-05 09:05:07.5"),
         QDateTime(QDate(2024, 3, 5), QTime(9, 5, 7, 500))},
        {FieldType::Bytes, text("ab"), {}, "バイナリ"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "type " << int(c.type) << " literal " << c.literal.text.toStdString());
        const Field field{"f", c.type, 8};
        try {
            const QVariant value = fieldValue(c.literal, field);
            EXPECT_EQ(c.error, nullptr) << "no error";
            EXPECT_EQ(value.metaType(), c.expected.metaType());
            EXPECT_EQ(value, c.expected);
        } catch (const SkelvoError& error) {
            ASSERT_NE(c.error, nullptr) << error.what();
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.error))) << error.what();
        }
    }
}

// The file keeps no empty text apart from null, so neither does the value
// written; comparisons still take '' as it is.
TEST(SqlValue, StoresEmptyTextAsNull)
{
    const Field alpha{"a", FieldType::Alpha, 4};
    const Field memo{"m", FieldType::Memo, 30};
    EXPECT_FALSE(storedValue(text(""), alpha).isValid());
    EXPECT_FALSE(storedValue(text(""), memo).isValid());
    EXPECT_EQ(storedValue(text(" "), alpha), QVariant(" "));
    EXPECT_EQ(fieldValue(text(""), alpha), QVariant(""));
}

const QList<Field> FilterFields = {
    {"id", FieldType::Long, 4},
    {"ct", FieldType::Long, 4},
    {"crew", FieldType::Alpha, 16},
    {"flag", FieldType::Logical, 1},
};

const QList<Row> FilterRows = {
    {1, 3, "a", true},
    {2, 3, QVariant(), false},
    {3, QVariant(), "", QVariant()},
    {4, 4, "b", true},
};

// The ids of the rows the condition keeps, or the error's message.
QString matchingIds(const char* condition)
{
    try {
        const Statement statement =
            parseStatement(QStringLiteral("SELECT * FROM t WHERE ") + QString::fromUtf8(condition));
        const RowFilter filter(std::get<SelectStatement>(statement).where, FilterFields, "t");
        QStringList ids;
        for (const Row& row : FilterRows) {
            if (filter.matches(row))
                ids.append(row[0].toString());
        }
        return ids.join(',');
    } catch (const SkelvoError& error) {
        return error.message();
    }
}

// SQL's nulls: a comparison with null is neither true nor false, so NOT
// does not turn it into a match. A text field's null is its empty text.
TEST(SqlValue, FiltersRowsWithSqlNulls)
{
    const struct
    {
        const char* condition;
        const char* ids;
    } cases[] = {
        {"ct = 3", "1,2"},
        {"ct = '3'", "1,2"},
        {"3 = ct", "1,2"},
        {"ct <> 3", "4"},
        {"NOT ct = 3", "4"},
        {"ct IS NULL", "3"},
        {"ct IS NOT NULL", "1,2,4"},
        {"ct = 3 OR ct IS NULL", "1,2,3"},
        {"ct > 3 OR ct < 4", "1,2,4"},
        {"ct = NULL", ""},
        {"NOT ct = NULL", ""},
        {"crew = NULL", ""},
        {"crew = ''", "2,3"},
        {"crew IS NULL", "2,3"},
        {"crew IS NOT NULL", "1,4"},
        {"crew <> 'a'", "2,3,4"},
        {"crew = 'A'", ""},
        {"crew > 'a'", "4"},
        {"NOT (ct = 3 AND crew = 'a')", "2,3,4"},
        {"id >= 2 AND id < 4", "2,3"},
        {"id <= 2 OR NOT id <> 4", "1,2,4"},
        {"flag = TRUE", "1,4"},
        {"flag = 1", "1,4"},
        {"flag = 'false'", "2"},
        {"nope = 1", "テーブル t に列 nope はありません。"},
        {"CT = 'x'", "列 ct には整数を入れます。'x' は入れられません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.condition);
        EXPECT_EQ(matchingIds(c.condition), QString::fromUtf8(c.ids));
    }
}

} // namespace
