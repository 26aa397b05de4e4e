#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// The ordering keys and defaults a new log row takes from its neighbour,
// and the date the entry dialog offers. Rows are read in (ct, sb) order, so
// these keys decide where a row stands in the log, the totals and the
// printed pages.

// The date the entry dialog writes into yyyy and mmdd when it opens: the
// decimal year and the month and day as four digits (March 5 is "0305").
struct DefaultDate
{
    QString year;
    QString monthDay;

    static DefaultDate of(const QDate& day);
    bool operator==(const DefaultDate&) const = default;
};

// What a new row needs of the row it takes its keys from.
struct NeighbourRow
{
    int ct = 0;
    int sb = 0;
    QString yyyy;
    QString mmdd;
    QString arrive;
};

struct NewRowKeys
{
    int ct = 0;
    int sb = 0;
    DefaultDate date;
    QString depart;

    bool operator==(const NewRowKeys&) const = default;
};

// A row inserted after previous (none when it goes before the first row):
// previous's ct (0 becomes 1) and sb + 1, its date and its arrival place.
// Before the first row, the keys (1, 1) and today's date: it sorts after an
// opening row keyed (1, 0), which stays first.
NewRowKeys insertedRowKeys(const std::optional<NeighbourRow>& previous, const QDate& today);

// A row appended after last (none on an empty table): the next ct, sb 0,
// last's arrival place, and last's date unless its mmdd is empty.
NewRowKeys appendedRowKeys(const std::optional<NeighbourRow>& last, const QDate& today);

// The date offered when a row is edited: its own, each empty part from today.
DefaultDate editedRowDate(const QString& yyyy, const QString& mmdd, const QDate& today);

struct RowKey
{
    int ct = 0;
    int sb = 0;
};

// An inserted row takes the keys of the row before it plus one, which the
// row it was inserted in front of may already hold. So that the new row
// sorts where it was put, every other row of its ct from its sb upwards
// moves up one sb. Returns the indexes of those rows, highest sb first;
// none when no other row holds the new row's keys. Other ct are never
// touched.
QList<qsizetype> rowsMakingRoom(const QList<RowKey>& keys, qsizetype newRow);
