#include "tests/testsupport/gui_application.h"

#include <QApplication>

namespace testsupport {

void ensureGuiApplication()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "skelvo-gui-test";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives as long as the process
}

} // namespace testsupport
