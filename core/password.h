#pragma once

#include <QString>

namespace Myutyfunc {

// The stored password is shifted character by character by the digits of
// this key, so the settings file never shows it as typed.
inline constexpr char PasswordKey[] = "58203746195032";

QString ScramblePassword(const QString& plain);
QString UnscramblePassword(const QString& scrambled);

} // namespace Myutyfunc
