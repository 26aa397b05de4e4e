#pragma once

#include <QString>

// The counting rules and input aids the user chooses; held by the main
// window for the whole run and kept in the "Preference" section.
struct Preferences
{
    bool AutoBlockTime = false;
    QString AutoOffsetTime = QStringLiteral("00:05");
    QString Home;
    bool UseBlockTime = false;
    bool E_IncGround = false;
    bool P_IncGround = false;
    bool GliderAdd1 = false;
    bool GliderAdd2 = false;
    bool RussianSys = false;
    bool UseIME = false;
    bool UseCapsLock = false;
    int RussianValue = 20;
    bool OldPattern = false;

    void read(const QString& iniPath);
    // Everything but the two values the main window writes after the
    // layout file name.
    void writeSwitches(const QString& iniPath) const;
    void writeRussianValueAndOldPattern(const QString& iniPath) const;
};
