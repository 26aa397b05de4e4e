#include "calc/entry_keys.h"

#include <algorithm>

DefaultDate DefaultDate::of(const QDate& day)
{
    return {QString::asprintf("%d", day.year()),
            QString::asprintf("%.2d%.2d", day.month(), day.day())};
}

NewRowKeys insertedRowKeys(const std::optional<NeighbourRow>& previous, const QDate& today)
{
    NewRowKeys keys;
    if (previous) {
        keys = {previous->ct, previous->sb, {previous->yyyy, previous->mmdd}, previous->arrive};
    } else {
        keys.date = DefaultDate::of(today);
    }
    if (keys.ct == 0)
        keys.ct = 1;
    keys.sb += 1;
    return keys;
}

NewRowKeys appendedRowKeys(const std::optional<NeighbourRow>& last, const QDate& today)
{
    if (!last)
        return {1, 0, DefaultDate::of(today), {}};
    const DefaultDate date =
        last->mmdd.isEmpty() ? DefaultDate::of(today) : DefaultDate{last->yyyy, last->mmdd};
    return {last->ct + 1, 0, date, last->arrive};
}

DefaultDate editedRowDate(const QString& yyyy, const QString& mmdd, const QDate& today)
{
    const DefaultDate todays = DefaultDate::of(today);
    return {yyyy.isEmpty() ? todays.year : yyyy, mmdd.isEmpty() ? todays.monthDay : mmdd};
}

QList<qsizetype> rowsMakingRoom(const QList<RowKey>& keys, qsizetype newRow)
{
    const RowKey added = keys.at(newRow);
    QList<qsizetype> moving;
    bool taken = false;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i == newRow || keys[i].ct != added.ct || keys[i].sb < added.sb)
            continue;
        moving.append(i);
        taken = taken || keys[i].sb == added.sb;
    }
    if (!taken)
        return {};
    std::stable_sort(moving.begin(), moving.end(),
                     [&](qsizetype a, qsizetype b) { return keys[a].sb > keys[b].sb; });
    return moving;
}
