#pragma once

#include <QApplication>

// The application object: whatever error escapes an event handler is shown
// by the general error display, and the program runs on.
class SkelvoApplication : public QApplication
{
public:
    SkelvoApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The settings file: the program's path with ".INI" as its extension.
    static QString iniFileName();
    // Qt's own Japanese texts (standard buttons read はい／いいえ) and a
    // Japanese face for the windows.
    void loadJapanese();
};
