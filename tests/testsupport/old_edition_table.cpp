#include "tests/testsupport/old_edition_table.h"

namespace pxwrite {
namespace {

// The old layout: "no", "Mark", then the fields that fill callsign's
// followers, and the power time when asked for.
QList<Field> oldFields(bool powerTime)
{
    QList<Field> fields = {{"no", Type::Long}, {"Mark", Type::Alpha, 10}};
    const QList<QPair<const char*, Type>> rest = {
        {"Year", Type::Alpha},       {"Date", Type::Alpha},     {"Page", Type::Short},
        {"Crew", Type::Alpha},       {"Nature", Type::Alpha},   {"From", Type::Alpha},
        {"To", Type::Alpha},         {"OutT", Type::Alpha},     {"OffT", Type::Alpha},
        {"OnT", Type::Alpha},        {"InT", Type::Alpha},      {"Ovh", Type::Logical},
        {"BlockT", Type::Alpha},     {"FlightT", Type::Alpha},  {"SinceMa", Type::Alpha},
        {"SinceOv", Type::Alpha},    {"Sign", Type::Alpha},     {"Remarks", Type::Alpha},
        {"Printed", Type::Logical},  {"Epage", Type::Short},    {"Eovh", Type::Logical},
        {"EgroundT", Type::Alpha},   {"EflightT", Type::Alpha}, {"EtotalT", Type::Alpha},
        {"EsinceMa", Type::Alpha},   {"EsinceOv", Type::Alpha}, {"Eremarks", Type::Alpha},
        {"Eprinted", Type::Logical}, {"Ppage", Type::Short},    {"Povh", Type::Logical},
        {"PgroundT", Type::Alpha},   {"PflightT", Type::Alpha}, {"PtotalT", Type::Alpha},
        {"PsinceMa", Type::Alpha},   {"PsinceOv", Type::Alpha}, {"Premarks", Type::Alpha},
        {"Pprinted", Type::Logical}, {"AirWth", Type::Logical}};
    for (const auto& [name, type] : rest)
        fields.append({name, type, type == Type::Alpha ? 40 : 0});
    if (powerTime)
        fields.append({"TPlass", Type::Alpha, 8});
    return fields;
}

// A flight: Japanese text, an empty page number, a remark reading "true",
// the overhaul flag set and the printed flag cleared.
QVariantList oldFlight(int no, bool powerTime)
{
    QVariantList values(powerTime ? 41 : 40);
    values[0] = no;
    values[1] = "OLD";
    values[2] = "1998";
    values[3] = "0512";
    values[5] = QStringLiteral("山田太郎");
    values[13] = true;   // Ovh
    values[14] = "0:40"; // BlockT: times stay as they are
    values[19] = "true"; // Remarks
    values[20] = false;  // Printed
    values[21] = 3;      // Epage
    if (powerTime)
        values[40] = "1:05";
    return values;
}

} // namespace

QString writeDistinctOldEditionTable(const QString& path)
{
    const QList<Field> fields = oldFields(true);
    QVariantList values{1, "OLD"};
    bool truth = true;
    for (qsizetype i = 2; i < fields.size(); ++i) {
        switch (fields[i].type) {
        case Type::Alpha:
            values.append(fields[i].name);
            break;
        case Type::Logical:
            values.append(truth);
            truth = !truth;
            break;
        default:
            values.append(int(i));
            break;
        }
    }
    writeTable(path, fields, {values});
    return path;
}

QString writeOldEditionTable(const QString& path, bool powerTime, int rows)
{
    QList<QVariantList> records;
    for (int no = 1; no <= rows; ++no)
        records.append(oldFlight(no, powerTime));
    writeTable(path, oldFields(powerTime), records);
    return path;
}

} // namespace pxwrite
