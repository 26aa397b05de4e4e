#include "app/demo/demo_logbook.h"

#include "core/error.h"
#include "core/time_text.h"
#include "db/table_management.h"
#include "maintenance/maintenance_settings.h"
#include "paradox/paradox_sql.h"

#include <QDir>
#include <QFile>

namespace {

const QString& Aircraft = DemoLogbook::TableName;

struct Flight
{
    const char* date; // yyyymmdd
    const char* crew;
    const char* intention;
    const char* depart;
    const char* arrive;
    const char* times[4]; // engine start, take-off, landing, engine stop
    const char* remarks;
};

// A motor glider's spring: local flights and a cross-country.
constexpr Flight Flights[] = {
    {"20260404",
     "山田太郎",
     "慣熟飛行",
     "大利根",
     "大利根",
     {"09:10", "09:15", "10:05", "10:08"},
     ""},
    {"20260404",
     "佐藤花子",
     "同乗訓練",
     "大利根",
     "大利根",
     {"10:40", "10:45", "11:30", "11:34"},
     ""},
    {"20260411",
     "山田太郎",
     "野外飛行",
     "大利根",
     "福島",
     {"08:55", "09:02", "10:48", "10:52"},
     "晴れ"},
    {"20260411",
     "山田太郎",
     "野外飛行",
     "福島",
     "大利根",
     {"13:20", "13:26", "15:05", "15:09"},
     ""},
    {"20260418",
     "鈴木一郎",
     "定期点検後試験飛行",
     "大利根",
     "大利根",
     {"14:00", "14:06", "14:36", "14:40"},
     "100時間点検"},
    {"20260425",
     "佐藤花子",
     "単独飛行",
     "大利根",
     "大利根",
     {"09:30", "09:34", "10:44", "10:47"},
     ""},
};

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString literal(const QString& value)
{
    QString quoted = value;
    return '\'' + quoted.replace('\'', QStringLiteral("''")) + '\'';
}

void insertRow(paradox::SqlEngine& engine, const QList<QPair<QString, QString>>& values)
{
    QStringList columns, literals;
    for (const auto& [column, value] : values) {
        columns.append(column);
        literals.append(literal(value));
    }
    engine.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(Aircraft, columns.join(','), literals.join(',')));
}

void fillLogbook(paradox::SqlEngine& engine)
{
    // The opening row carries the totals the aircraft came with.
    QString airframe = QStringLiteral("1234:10"), sinceOverhaul = QStringLiteral("210:05");
    QString engineTotal = QStringLiteral("845:30"), engineOverhaul = QStringLiteral("120:40");
    insertRow(engine, {{"ct", "1"},
                       {"sb", "0"},
                       {"callsign", Aircraft},
                       {"yyyy", "2026"},
                       {"mmdd", "0401"},
                       {"remarks", text("機体受入れ時の累計")},
                       {"sincema", airframe},
                       {"sinceov", sinceOverhaul},
                       {"e_sincema", engineTotal},
                       {"e_sinceov", engineOverhaul},
                       {"p_sincema", engineTotal},
                       {"p_sinceov", engineOverhaul}});
    int ct = 2;
    for (const Flight& flight : Flights) {
        using namespace MyutyTime;
        const QString block = TimeDiff(text(flight.times[3]), text(flight.times[0]));
        const QString air = TimeDiff(text(flight.times[2]), text(flight.times[1]));
        airframe = TimeAdd(airframe, air);
        sinceOverhaul = TimeAdd(sinceOverhaul, air);
        engineTotal = TimeAdd(engineTotal, air);
        engineOverhaul = TimeAdd(engineOverhaul, air);
        const QString date = text(flight.date);
        insertRow(engine, {{"ct", QString::number(ct++)},
                           {"sb", "0"},
                           {"callsign", Aircraft},
                           {"yyyy", date.left(4)},
                           {"mmdd", date.mid(4)},
                           {"crew", text(flight.crew)},
                           {"intention", text(flight.intention)},
                           {"depart", text(flight.depart)},
                           {"arrive", text(flight.arrive)},
                           {"outtime", text(flight.times[0])},
                           {"offtime", text(flight.times[1])},
                           {"ontime", text(flight.times[2])},
                           {"intime", text(flight.times[3])},
                           {"blocktime", block},
                           {"flighttime", air},
                           {"sincema", airframe},
                           {"sinceov", sinceOverhaul},
                           {"sign", text(flight.crew)},
                           {"remarks", text(flight.remarks)},
                           {"e_flighttime", air},
                           {"e_totaltime", air},
                           {"e_sincema", engineTotal},
                           {"e_sinceov", engineOverhaul},
                           {"p_flighttime", air},
                           {"p_totaltime", air},
                           {"p_sincema", engineTotal},
                           {"p_sinceov", engineOverhaul},
                           {"ovh", "0"},
                           {"e_ovh", "0"},
                           {"p_ovh", "0"},
                           {"printed", "0"},
                           {"e_printed", "0"},
                           {"p_printed", "0"},
                           {"airworthiness", "0"}});
    }
}

void copyCommandFiles(const QDir& from, const QDir& to)
{
    for (const QString& name : from.entryList({QStringLiteral("Create*")}, QDir::Files)) {
        if (!to.exists(name))
            QFile::copy(from.filePath(name), to.filePath(name));
    }
}

} // namespace

namespace DemoLogbook {

void create(const QString& folderPath, const QString& commandsFolder)
{
    const QDir folder(folderPath);
    if (!QDir().mkpath(folder.path()))
        throw SkelvoError(QStringLiteral("フォルダー %1 を作れません。").arg(folder.path()));
    copyCommandFiles(QDir(commandsFolder), folder);
    paradox::SqlEngine engine(folder.absolutePath());
    if (engine.tableNames().contains(Aircraft, Qt::CaseInsensitive))
        return;
    engine.execute(TableManagement::prepareCommand(
        TableManagement::readCommandFile(folder.filePath(QStringLiteral("CreateTable.PRDX"))),
        Aircraft));
    fillLogbook(engine);
}

void writeLimits(const QString& settingsFile)
{
    if (Maintenance::readLimits(settingsFile, Aircraft).anySet())
        return;
    // The engine has 127:20 since overhaul after the spring's flights: well
    // within its hours. The propeller was overhauled as long ago, but its
    // shorter interval leaves 7:40, inside the warning margin.
    const Maintenance::Limits limits{.engineHours = 1500, .propellerHours = 135};
    if (!Maintenance::writeLimits(settingsFile, Aircraft, limits))
        throw SkelvoError(
            QStringLiteral("設定ファイル %1 に整備期限を書き込めません。").arg(settingsFile));
}

} // namespace DemoLogbook
