#pragma once

#include <QString>

// The name of the user logged on to the system, the default database user;
// "UnKnownLogOnUserName" when the system does not tell.
QString loggedOnUserName();
