#include "core/logon_user.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

QString loggedOnUserName()
{
#ifdef Q_OS_UNIX
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
#endif
    const QString fromEnvironment = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return fromEnvironment.isEmpty() ? QStringLiteral("UnKnownLogOnUserName") : fromEnvironment;
}
