// Prepares the demo logbook: skelvo-demo FOLDER COMMANDS-FOLDER [SETTINGS-FILE];
// with a settings file, also the sample aircraft's maintenance limits.
#include "app/demo/demo_logbook.h"
#include "core/error.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3 && arguments.size() != 4) {
        std::fprintf(stderr, "usage: skelvo-demo FOLDER COMMANDS-FOLDER [SETTINGS-FILE]\n");
        return 2;
    }
    try {
        DemoLogbook::create(arguments[1], arguments[2]);
        if (arguments.size() == 4)
            DemoLogbook::writeLimits(arguments[3]);
    } catch (const SkelvoError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
