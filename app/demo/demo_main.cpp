// Prepares the demo logbook: skelvo-demo FOLDER COMMANDS-FOLDER.
#include "app/demo/demo_logbook.h"
#include "core/error.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: skelvo-demo FOLDER COMMANDS-FOLDER\n");
        return 2;
    }
    try {
        DemoLogbook::create(arguments[1], arguments[2]);
    } catch (const SkelvoError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
