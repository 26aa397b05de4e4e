#include "calc/totals_calculation.h"

#include "core/preferences.h"
#include "core/time_text.h"
#include "data/held_position.h"

#include <algorithm>
#include <array>
#include <vector>

using MyutyTime::TimeAdd;
using MyutyTime::TimeDiff;
using MyutyTime::TimePercent;

namespace {

// The six running totals, in the order they are carried from row to row.
enum Total
{
    Sincema,
    Sinceov,
    E_Sincema,
    E_Sinceov,
    P_Sincema,
    P_Sinceov,
    TotalCount,
};

constexpr std::array<QStringView, TotalCount> TotalColumns{
    u"sincema", u"sinceov", u"e_sincema", u"e_sinceov", u"p_sincema", u"p_sinceov",
};

using TotalTexts = std::array<QString, TotalCount>;

// The columns of engine or propeller, which follow the same rules.
struct PowerUnit
{
    QStringView overhaul;
    QStringView groundtime;
    QStringView totaltime;
    Total sincema;
    Total sinceov;
};

constexpr PowerUnit Engine{u"e_ovh", u"e_groundtime", u"e_totaltime", E_Sincema, E_Sinceov};
constexpr PowerUnit Propeller{u"p_ovh", u"p_groundtime", u"p_totaltime", P_Sincema, P_Sinceov};

QString textAt(const DataSet& rows, int row, int field)
{
    const QVariant value = rows.valueAt(row, field);
    return value.isNull() ? QString() : value.toString();
}

// No total established yet stays none: a row's time alone is not a total.
QString grow(const QString& carried, const QString& time)
{
    return carried.isEmpty() ? QString() : TimeAdd(carried, time);
}

// The starting totals for the row at index start: for each total the last
// value set at or before the row above it. A total left empty on the row
// just above (a zero sum, an unreadable time) must not cut the chain that a
// pass over the whole table would carry across it.
TotalTexts startingTotals(const DataSet& rows, int start)
{
    std::array<int, TotalCount> fields{};
    for (int t = 0; t < TotalCount; ++t)
        fields[t] = rows.fieldIndex(TotalColumns[t]);
    TotalTexts carried;
    int missing = TotalCount;
    for (int row = std::min(start, rows.recordCount()) - 1; row >= 0 && missing > 0; --row) {
        for (int t = 0; t < TotalCount; ++t) {
            if (carried[t].isEmpty() && fields[t] >= 0) {
                carried[t] = textAt(rows, row, fields[t]);
                if (!carried[t].isEmpty())
                    --missing;
            }
        }
    }
    return carried;
}

// Puts the pass's write-back settings in place and, whatever happens,
// leaves the row-set as the pass found it: the same current row, the same
// settings, its controls following again. A row whose write failed keeps
// the values the table holds.
class PassScope
{
public:
    explicit PassScope(DataSet& rows) : rows_(rows), held_(rows), whereMode_(rows.whereMode())
    {
        for (Saved& saved : saved_) {
            saved.present = rows_.fieldIndex(saved.name) >= 0;
            if (saved.present)
                saved.flags = rows_.fieldFlags(saved.name);
        }
        // The store's own number finds a row when the row-set knows it;
        // otherwise the ordering keys and the changed columns do. The keys
        // are never rewritten by the pass.
        setFlags(u"id", {.inUpdate = false, .inWhere = false, .inKey = false});
        setFlags(u"ct", {.inUpdate = false, .inWhere = true, .inKey = true});
        setFlags(u"sb", {.inUpdate = false, .inWhere = true, .inKey = true});
        rows_.setWhereMode(WhereMode::KeyAndChanged);
        // One transaction for the pass, not one per row.
        rows_.beginWriteBatch();
    }

    // Keeps the rows written; raises when the store cannot.
    void finish() { rows_.endWriteBatch(); }

    ~PassScope()
    {
        // The error that ended the pass is the one the user must see; each
        // step here runs whatever the one before it raised.
        try {
            // The row whose write failed goes back to what the table holds,
            // before a lost connection can fail the end of the batch too.
            if (rows_.state() == DataSet::State::Edit)
                rows_.cancel();
        } catch (...) {
        }
        try {
            // A pass ended by an error keeps the rows written before it.
            rows_.endWriteBatch();
        } catch (...) {
        }
        try {
            for (const Saved& saved : saved_) {
                if (saved.present)
                    rows_.setFieldFlags(saved.name, saved.flags);
            }
            rows_.setWhereMode(whereMode_);
        } catch (...) {
        }
    }

    PassScope(const PassScope&) = delete;
    PassScope& operator=(const PassScope&) = delete;

private:
    struct Saved
    {
        QStringView name;
        bool present = false;
        FieldFlags flags;
    };

    void setFlags(QStringView name, FieldFlags flags)
    {
        if (rows_.fieldIndex(name) >= 0)
            rows_.setFieldFlags(name, flags);
    }

    DataSet& rows_;
    HeldPosition held_; // back on the row and its controls after the rest
    WhereMode whereMode_;
    std::array<Saved, 3> saved_{{{u"id", false, {}}, {u"ct", false, {}}, {u"sb", false, {}}}};
};

// Works out one row against the carried totals, writes it only when a value
// differs from what it holds, and carries its totals on.
class RowCalculation
{
public:
    RowCalculation(DataSet& rows, const Preferences& preferences, TotalTexts& carried)
        : rows_(rows), preferences_(preferences), carried_(carried)
    {}

    void run()
    {
        blocktime_ = rows_.asString(u"blocktime");
        flighttime_ = rows_.asString(u"flighttime");
        glider_ = rows_.asString(u"glider");
        for (int t = 0; t < TotalCount; ++t)
            totals_[t] = rows_.asString(TotalColumns[t]);
        changes_.clear();

        if (!rows_.asBoolean(u"ovh")) {
            const QString& time = preferences_.UseBlockTime ? blocktime_ : flighttime_;
            setTotal(Sincema, grow(carried_[Sincema], time));
            setTotal(Sinceov, grow(carried_[Sinceov], time));
        }
        calculate(Engine, preferences_.E_IncGround);
        calculate(Propeller, preferences_.P_IncGround);

        if (!changes_.empty()) {
            rows_.edit();
            for (const Change& change : changes_)
                rows_.setValue(change.column, change.value);
            rows_.post();
        }
        for (int t = 0; t < TotalCount; ++t) {
            if (!totals_[t].isEmpty())
                carried_[t] = totals_[t];
        }
    }

private:
    struct Change
    {
        QStringView column;
        QString value;
    };

    void set(QStringView column, const QString& value)
    {
        if (rows_.asString(column) != value)
            changes_.push_back({column, value});
    }

    void setTotal(Total total, const QString& value)
    {
        totals_[total] = value;
        set(TotalColumns[total], value);
    }

    void calculate(const PowerUnit& unit, bool includeGround)
    {
        if (rows_.asBoolean(unit.overhaul))
            return;
        QString groundtime;
        QString totaltime;
        if (preferences_.GliderAdd2) {
            // A motor glider's power time is the unit's whole time.
            totaltime = glider_;
        } else {
            if (includeGround) {
                groundtime = TimeDiff(blocktime_, flighttime_);
                totaltime = blocktime_;
            } else {
                totaltime = flighttime_;
            }
            if (preferences_.GliderAdd1)
                totaltime = TimeAdd(totaltime, glider_);
            if (preferences_.RussianSys)
                totaltime = TimeAdd(totaltime, TimePercent(TimeDiff(blocktime_, flighttime_),
                                                           preferences_.RussianValue));
        }
        set(unit.groundtime, groundtime);
        set(unit.totaltime, totaltime);
        setTotal(unit.sincema, grow(carried_[unit.sincema], totaltime));
        setTotal(unit.sinceov, grow(carried_[unit.sinceov], totaltime));
    }

    DataSet& rows_;
    const Preferences& preferences_;
    TotalTexts& carried_;
    QString blocktime_;
    QString flighttime_;
    QString glider_;
    TotalTexts totals_;
    std::vector<Change> changes_;
};

} // namespace

void CalcTotals(DataSet& rows, const Preferences& preferences, int from,
                const PassProgress& progress)
{
    if (!rows.isOpen())
        return;
    // A row still being typed is written first, so that the pass neither
    // loses it nor starts from stale values.
    rows.post();

    PassScope scope(rows);
    const int count = rows.recordCount();
    // The opening row holds the aircraft's starting totals as typed; it is
    // their source, never a row to recalculate.
    const int current = rows.recNo() - 1;
    const int start = (from == 0 || current < 1) ? 1 : current;
    TotalTexts carried = startingTotals(rows, start);

    const int total = std::max(count - start, 0);
    if (start < count) {
        RowCalculation calculation(rows, preferences, carried);
        int done = 0;
        for (rows.setRecNo(start + 1); !rows.eof(); rows.next()) {
            calculation.run();
            if (progress)
                progress(++done, total);
        }
    }
    scope.finish();
    if (rows.writeBack() == DataSet::WriteBack::Cached && rows.changeCount() > 0) {
        try {
            rows.applyUpdates();
        } catch (...) {
            // Nothing unsent stays behind: the rows show what the table holds.
            rows.cancelUpdates();
            throw;
        }
    }
    if (progress)
        progress(total, total);
}

Totals ShowTotals(DataSet& rows)
{
    if (!rows.isOpen() || rows.isEmpty())
        return {};
    // Read in place: moving would post a row that is being edited.
    const int last = rows.recordCount() - 1;
    const auto text = [&](QStringView column) {
        const int field = rows.fieldIndex(column);
        return field < 0 ? QString() : textAt(rows, last, field);
    };
    return {text(u"sincema"),   text(u"sinceov"),   text(u"e_sincema"),
            text(u"e_sinceov"), text(u"p_sincema"), text(u"p_sinceov")};
}
