#include "core/log_record.h"
#include "tests/testsupport/qt_printers.h"

#include <QList>
#include <QSet>
#include <QString>
#include <gtest/gtest.h>

using namespace LogRecord;

TEST(LogRecord, KeyColumnsLeadAndAreHiddenFromTheGrid)
{
    const QStringList keys{"id", "ct", "sb"};
    for (int i = 0; i < KeyColumnCount; ++i) {
        EXPECT_EQ(QString(columns()[i].name), keys[i]);
        EXPECT_TRUE(columns()[i].gridTitle.isEmpty());
        EXPECT_EQ(columns()[i].kind, ColumnKind::Integer);
        EXPECT_EQ(csvPosition(keys[i]), -1);
    }
}

TEST(LogRecord, DataColumnsFollowInCsvOrderWithTitles)
{
    // Spot checks at both ends and in the middle of the CSV order: a column
    // moved in the table would shift every CSV file the program writes.
    struct Expected
    {
        const char* name;
        int csv;
        QString title;
        ColumnKind kind;
    };
    const Expected cases[] = {
        {"callsign", 0, "記号", ColumnKind::Text},
        {"mmdd", 2, "月日", ColumnKind::Text},
        {"pageno", 3, "頁", ColumnKind::Integer},
        {"outtime", 8, "発進", ColumnKind::TimeText},
        {"ovh", 12, "OH", ColumnKind::Flag},
        {"sinceov", 16, "ＯＨ後", ColumnKind::TimeText},
        {"printed", 19, "印刷", ColumnKind::Flag},
        {"e_sinceov", 26, "E_OH後", ColumnKind::TimeText},
        {"p_printed", 37, "P_印刷", ColumnKind::Flag},
        {"airworthiness", 38, "耐検", ColumnKind::Flag},
        {"glider", 39, "動力(+/-)", ColumnKind::TimeText},
    };
    for (const auto& expected : cases) {
        SCOPED_TRACE(expected.name);
        const Column* column = findColumn(QString::fromLatin1(expected.name));
        ASSERT_NE(column, nullptr);
        EXPECT_EQ(csvPosition(QString::fromLatin1(expected.name)), expected.csv);
        EXPECT_EQ(dataColumns()[expected.csv].name, column->name);
        EXPECT_EQ(column->gridTitle.toString(), expected.title);
        EXPECT_EQ(column->kind, expected.kind);
    }
}

TEST(LogRecord, NamesAndTitlesAreUnique)
{
    QSet<QString> names, titles;
    for (const Column& column : columns()) {
        names.insert(QString(column.name));
        if (!column.gridTitle.isEmpty())
            titles.insert(column.gridTitle.toString());
    }
    EXPECT_EQ(names.size(), ColumnCount);
    EXPECT_EQ(titles.size(), DataColumnCount);
}

TEST(LogRecord, LookupIsExactAndLowerCase)
{
    EXPECT_EQ(columnIndex(u"blocktime"), 16);
    EXPECT_EQ(columnIndex(u"BLOCKTIME"), -1);
    EXPECT_EQ(columnIndex(u"block"), -1);
    EXPECT_EQ(findColumn(u""), nullptr);
    EXPECT_EQ(csvPosition(u"nosuchcolumn"), -1);
}
