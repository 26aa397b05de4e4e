#include "core/preferences.h"

#include "core/settings_keys.h"

void Preferences::read(const QString& iniPath)
{
    using namespace Settings;
    AutoBlockTime = Settings::read(iniPath, Settings::AutoBlockTime);
    AutoOffsetTime = Settings::read(iniPath, Settings::AutoOffsetTime);
    Home = Settings::read(iniPath, Settings::Home);
    UseBlockTime = Settings::read(iniPath, Settings::UseBlockTime);
    E_IncGround = Settings::read(iniPath, EngineIncludesGround);
    P_IncGround = Settings::read(iniPath, PropellerIncludesGround);
    GliderAdd1 = Settings::read(iniPath, Settings::GliderAdd1);
    GliderAdd2 = Settings::read(iniPath, Settings::GliderAdd2);
    RussianSys = Settings::read(iniPath, Settings::RussianSys);
    UseIME = Settings::read(iniPath, Settings::UseIME);
    UseCapsLock = Settings::read(iniPath, Settings::UseCapsLock);
    RussianValue = Settings::read(iniPath, Settings::RussianValue);
    OldPattern = Settings::read(iniPath, Settings::OldPattern);
}

void Preferences::writeSwitches(const QString& iniPath) const
{
    using namespace Settings;
    write(iniPath, Settings::AutoBlockTime, AutoBlockTime);
    write(iniPath, Settings::AutoOffsetTime, AutoOffsetTime);
    write(iniPath, Settings::Home, Home);
    write(iniPath, Settings::UseBlockTime, UseBlockTime);
    write(iniPath, EngineIncludesGround, E_IncGround);
    write(iniPath, PropellerIncludesGround, P_IncGround);
    write(iniPath, Settings::GliderAdd1, GliderAdd1);
    write(iniPath, Settings::GliderAdd2, GliderAdd2);
    write(iniPath, Settings::RussianSys, RussianSys);
    write(iniPath, Settings::UseIME, UseIME);
    write(iniPath, Settings::UseCapsLock, UseCapsLock);
}

void Preferences::writeRussianValueAndOldPattern(const QString& iniPath) const
{
    Settings::write(iniPath, Settings::RussianValue, RussianValue);
    Settings::write(iniPath, Settings::OldPattern, OldPattern);
}
