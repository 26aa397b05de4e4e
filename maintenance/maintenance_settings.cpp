#include "maintenance/maintenance_settings.h"

#include "core/settings_keys.h"

namespace Maintenance {

namespace {

bool standsAsItIs(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.';
}

struct Field
{
    const Settings::TableIntegerKey& key;
    int Limits::*value;
    int max;
};

const Field Fields[] = {
    {Settings::MaintenanceEngineHours, &Limits::engineHours, MaxHours},
    {Settings::MaintenanceEngineYears, &Limits::engineYears, MaxYears},
    {Settings::MaintenancePropellerHours, &Limits::propellerHours, MaxHours},
    {Settings::MaintenancePropellerYears, &Limits::propellerYears, MaxYears},
    {Settings::MaintenanceAirframeInspectionHours, &Limits::airframeInspectionHours, MaxHours},
    {Settings::MaintenanceAirworthinessYears, &Limits::airworthinessYears, MaxYears},
    {Settings::MaintenanceAirworthinessDays, &Limits::airworthinessDays, MaxDays},
    {Settings::MaintenanceMarginPercent, &Limits::marginPercent, MaxMarginPercent},
    {Settings::MaintenanceMarginDays, &Limits::marginDays, MaxDays},
};

} // namespace

QString limitsSection(const QString& table)
{
    if (table.isEmpty())
        return {};
    QString section = QString::fromLatin1(Settings::MaintenanceSectionPrefix);
    for (const char c : table.toUtf8()) {
        if (standsAsItIs(c))
            section += QChar::fromLatin1(c);
        else
            section += QStringLiteral("%%1").arg(uchar(c), 2, 16, QChar(u'0')).toUpper();
    }
    return section;
}

Limits readLimits(const QString& path, const QString& table)
{
    Limits limits;
    const QString section = limitsSection(table);
    if (section.isEmpty())
        return limits;
    for (const Field& field : Fields) {
        const int value = Settings::read(path, section, field.key);
        limits.*field.value = value >= 0 && value <= field.max ? value : field.key.defaultValue;
    }
    return limits;
}

bool writeLimits(const QString& path, const QString& table, const Limits& limits)
{
    const QString section = limitsSection(table);
    if (section.isEmpty())
        return false;
    bool written = true;
    for (const Field& field : Fields)
        written = Settings::write(path, section, field.key, limits.*field.value) == 0 && written;
    return written;
}

} // namespace Maintenance
