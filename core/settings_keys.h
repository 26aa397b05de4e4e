#pragma once

#include "core/settings_file.h"

#include <QString>

// Every section, key and default of the settings file, in one place. Each
// reader and writer of a setting names it from here, so a key and its
// default are spelled once.
namespace Settings {

struct TextKey
{
    const char* section;
    const char* key;
    const char* defaultValue; // UTF-8
};
struct IntegerKey
{
    const char* section;
    const char* key;
    int defaultValue;
};
struct BoolKey
{
    const char* section;
    const char* key;
    bool defaultValue;
};

inline constexpr IntegerKey WindowsTop{"Windows", "Top", 0};
inline constexpr IntegerKey WindowsLeft{"Windows", "Left", 0};
inline constexpr IntegerKey WindowsWidth{"Windows", "Width", 800};
inline constexpr IntegerKey WindowsHeight{"Windows", "Height", 600};
// Top, Left, Width and Height keep the normal placement while the window is
// maximized, so that it comes back maximized and restores to its place.
inline constexpr BoolKey WindowsMaximized{"Windows", "Maximized", false};

inline constexpr TextKey PrinterName{"Printer", "Name", ""};
inline constexpr IntegerKey PrinterSize{"Printer", "Size", 13};              // B5
inline constexpr IntegerKey PrinterOrientation{"Printer", "orientation", 2}; // landscape
inline constexpr IntegerKey PrinterBin{"Printer", "Bin", 7};                 // automatic

inline constexpr BoolKey AutoBlockTime{"Preference", "AutoBlockTime", false};
inline constexpr TextKey AutoOffsetTime{"Preference", "AutoOffsetTime", "00:05"};
inline constexpr TextKey Home{"Preference", "Home", ""};
inline constexpr BoolKey UseBlockTime{"Preference", "UseBlockTime", false};
inline constexpr BoolKey EngineIncludesGround{"Preference", "E_IncGround", false};
inline constexpr BoolKey PropellerIncludesGround{"Preference", "P_IncGround", false};
inline constexpr BoolKey GliderAdd1{"Preference", "GliderAdd1", false};
inline constexpr BoolKey GliderAdd2{"Preference", "GliderAdd2", false};
inline constexpr BoolKey RussianSys{"Preference", "RussianSys", false};
inline constexpr BoolKey UseIME{"Preference", "UseIME", false};
inline constexpr BoolKey UseCapsLock{"Preference", "UseCapsLock", false};
inline constexpr IntegerKey RussianValue{"Preference", "RussianValue", 20};
inline constexpr BoolKey OldPattern{"Preference", "OldPattern", false};

// The entry dialog's history lists share this section, one key per entry.
inline constexpr char HistorySection[] = "Assist";
inline constexpr const char* HistoryListNames[] = {"crew", "intention", "depart", "arrive",
                                                   "remarks"};

inline constexpr TextKey ColumnsDefFile{"GridDesign", "ColumnsDefFile", "Default.CDF"};

inline constexpr IntegerKey DatabaseKind{"Database", "DatabaseKind", 0};
inline constexpr TextKey ServerName{"Database", "ServerName", "localhost"};
inline constexpr TextKey DatabaseName{"Database", "DatabaseName", "Skelvo"};
inline constexpr TextKey UserName{"Database", "UserName", ""};
inline constexpr TextKey Password{"Database", "Password", ""}; // stored scrambled
inline constexpr TextKey TableName{"Database", "TableName", ""};

// The maintenance limits of one aircraft, in a section of its own per table:
// this prefix and the table's name, spelled so that the file can hold any
// name (see Maintenance::limitsSection). 0 sets no limit; a file without the
// section sets none.
inline constexpr char MaintenanceSectionPrefix[] = "Maintenance.";
struct TableIntegerKey
{
    const char* key;
    int defaultValue;
};
inline constexpr TableIntegerKey MaintenanceEngineHours{"EngineHours", 0};
inline constexpr TableIntegerKey MaintenanceEngineYears{"EngineYears", 0};
inline constexpr TableIntegerKey MaintenancePropellerHours{"PropellerHours", 0};
inline constexpr TableIntegerKey MaintenancePropellerYears{"PropellerYears", 0};
inline constexpr TableIntegerKey MaintenanceAirframeInspectionHours{"AirframeInspectionHours", 0};
inline constexpr TableIntegerKey MaintenanceAirworthinessYears{"AirworthinessYears", 0};
inline constexpr TableIntegerKey MaintenanceAirworthinessDays{"AirworthinessDays", 0};
inline constexpr TableIntegerKey MaintenanceMarginPercent{"MarginPercent", 10};
inline constexpr TableIntegerKey MaintenanceMarginDays{"MarginDays", 30};

inline QString read(const QString& path, const TextKey& key)
{
    return MyutyFiles::IniReadString(path, key.section, key.key,
                                     QString::fromUtf8(key.defaultValue));
}
inline int read(const QString& path, const IntegerKey& key)
{
    return MyutyFiles::IniReadInteger(path, key.section, key.key, key.defaultValue);
}
inline bool read(const QString& path, const BoolKey& key)
{
    return MyutyFiles::IniReadBool(path, key.section, key.key, key.defaultValue);
}

inline int write(const QString& path, const TextKey& key, const QString& value)
{
    return MyutyFiles::IniWriteString(path, key.section, key.key, value);
}
inline int write(const QString& path, const IntegerKey& key, int value)
{
    return MyutyFiles::IniWriteInteger(path, key.section, key.key, value);
}
inline int write(const QString& path, const BoolKey& key, bool value)
{
    return MyutyFiles::IniWriteBool(path, key.section, key.key, value);
}

inline int read(const QString& path, const QString& section, const TableIntegerKey& key)
{
    return MyutyFiles::IniReadInteger(path, section, key.key, key.defaultValue);
}
inline int write(const QString& path, const QString& section, const TableIntegerKey& key, int value)
{
    return MyutyFiles::IniWriteInteger(path, section, key.key, value);
}

// A new settings file: the store and printer settings at their defaults,
// where the user can see them.
inline void writeDefaults(const QString& path)
{
    for (const TextKey* key : {&ServerName, &DatabaseName, &UserName, &TableName, &PrinterName})
        write(path, *key, QString::fromUtf8(key->defaultValue));
    for (const IntegerKey* key : {&DatabaseKind, &PrinterSize, &PrinterOrientation, &PrinterBin})
        write(path, *key, key->defaultValue);
}

} // namespace Settings
