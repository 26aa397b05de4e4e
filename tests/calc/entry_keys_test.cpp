#include "calc/entry_keys.h"
#include "tests/testsupport/qt_printers.h"

#include <gtest/gtest.h>

void PrintTo(const NewRowKeys& keys, std::ostream* out)
{
    *out << '(' << keys.ct << ',' << keys.sb << ") " << keys.date.year.toStdString() << '/'
         << keys.date.monthDay.toStdString() << " from '" << keys.depart.toStdString() << "'";
}

namespace {

const QDate Today(2024, 3, 5);
const DefaultDate Todays{"2024", "0305"};

NeighbourRow row(int ct, int sb, const char* mmdd = "0601")
{
    return {ct, sb, "2023", mmdd, "RJTT"};
}

TEST(EntryKeys, NewRowsTakeKeysDateAndDepartureFromTheirNeighbour)
{
    const DefaultDate june{"2023", "0601"};
    const struct
    {
        const char* name;
        NewRowKeys keys;
        NewRowKeys expected;
    } cases[] = {
        {"append to an empty table", appendedRowKeys(std::nullopt, Today), {1, 0, Todays, ""}},
        {"append after ct 7", appendedRowKeys(row(7, 0), Today), {8, 0, june, "RJTT"}},
        {"append after a row without mmdd",
         appendedRowKeys(row(7, 2, ""), Today),
         {8, 0, Todays, "RJTT"}},
        {"insert after (4,0)", insertedRowKeys(row(4, 0), Today), {4, 1, june, "RJTT"}},
        {"insert after (4,1)", insertedRowKeys(row(4, 1), Today), {4, 2, june, "RJTT"}},
        {"insert after a row without mmdd",
         insertedRowKeys(row(4, 0, ""), Today),
         {4, 1, {"2023", ""}, "RJTT"}},
        {"insert before the first row", insertedRowKeys(std::nullopt, Today), {1, 1, Todays, ""}},
        {"insert after ct 0", insertedRowKeys(row(0, 3), Today), {1, 4, june, "RJTT"}},
        {"insert after sb -1", insertedRowKeys(row(2, -1), Today), {2, 0, june, "RJTT"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.keys, c.expected);
    }
}

TEST(EntryKeys, EditOffersTheRowsOwnDateOrTodays)
{
    EXPECT_EQ(editedRowDate("2023", "0601", Today), (DefaultDate{"2023", "0601"}));
    EXPECT_EQ(editedRowDate("2023", "", Today), (DefaultDate{"2023", "0305"}));
    EXPECT_EQ(editedRowDate("", "", Today), Todays);
    EXPECT_EQ(DefaultDate::of(QDate(987, 12, 1)), (DefaultDate{"987", "1201"}));
}

TEST(EntryKeys, ARowTakingHeldKeysMovesTheRestOfItsCtUp)
{
    const struct
    {
        const char* name;
        QList<RowKey> keys;
        qsizetype newRow;
        QList<qsizetype> moving;
    } cases[] = {
        {"keys free", {{4, 0}, {4, 1}, {5, 0}}, 1, {}},
        {"keys held", {{4, 0}, {4, 1}, {4, 1}, {4, 2}, {5, 0}, {5, 1}}, 1, {3, 2}},
        {"a gap above", {{4, 0}, {4, 1}, {4, 1}, {4, 5}}, 1, {3, 2}},
        {"new row appended last", {{4, 0}, {4, 1}, {4, 2}, {4, 1}}, 3, {2, 1}},
        {"held only by other ct", {{3, 1}, {4, 1}, {5, 1}}, 1, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rowsMakingRoom(c.keys, c.newRow), c.moving);
    }
}

} // namespace
