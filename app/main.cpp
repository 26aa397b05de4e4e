#include "app/skelvo_application.h"
#include "app/skelvo_windows.h"

int main(int argc, char** argv)
{
    SkelvoApplication application(argc, argv);
    application.loadJapanese();
    SkelvoWindows windows(SkelvoApplication::iniFileName());
    windows.mainForm.show();
    return application.exec();
}
