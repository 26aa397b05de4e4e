#pragma once

#include <QDate>
#include <QString>
#include <vector>

// What is due next: the limits set for one aircraft and, from its log rows,
// how much of each is used, what remains and when it falls due. Plain input
// in, plain figures out; the windows only show them.
namespace Maintenance {

// The fields of one log row that the limits count from, as the table holds
// them.
struct RowFacts
{
    QString yyyy{};
    QString mmdd{};
    QString sincema{};
    QString sinceov{};
    QString e_sincema{};
    QString e_sinceov{};
    QString p_sincema{};
    QString p_sinceov{};
    bool ovh = false;
    bool e_ovh = false;
    bool p_ovh = false;
    bool airworthiness = false;
};

// 0 is "not set": that limit is not shown.
struct Limits
{
    int engineHours = 0;
    int engineYears = 0;
    int propellerHours = 0;
    int propellerYears = 0;
    int airframeInspectionHours = 0; // since the last airframe overhaul mark
    int airworthinessYears = 0;
    int airworthinessDays = 0;
    int marginPercent = 10; // of an hours limit
    int marginDays = 30;    // before a date

    bool anySet() const;
    bool operator==(const Limits&) const = default;
};

// The largest values a limit may take; larger ones are refused.
inline constexpr int MaxHours = 100000;
inline constexpr int MaxYears = 100;
inline constexpr int MaxDays = 36500;
inline constexpr int MaxMarginPercent = 100;

enum class Item
{
    EngineHours,
    EngineYears,
    PropellerHours,
    PropellerYears,
    AirframeInspection,
    Airworthiness,
};

enum class State
{
    Green,
    Amber,   // inside the warning margin
    Red,     // overdue
    Unknown, // a total or date the count needs cannot be read
};

struct Status
{
    Item item = Item::EngineHours;
    int startRow = 0; // 0-based: the row the count started on
    bool byDate = false;
    qint64 remaining = 0; // minutes, or days for a date; negative when overdue
    QString dueTotal;     // time text: the since-manufacture total it falls due at
    QDate dueDate;
    State state = State::Unknown;
};

// One status per limit set, in the order of Item. rows are in table order,
// the opening row first; without rows nothing is due.
std::vector<Status> evaluate(const std::vector<RowFacts>& rows, const Limits& limits, QDate today);

// Texts as the main window shows them.
QString title(Item item);
QString remainingText(const Status& status); // "残り 12:30", "超過 3日", "不明"
QString dueText(const Status& status);       // "E製造後 1512:30", "2025/02/28"

} // namespace Maintenance
