#pragma once

#include <QString>
#include <functional>

class QWidget;

// The general error display: runs one command and shows the text of any
// error it raises in a message box, after which the program runs on.
// Returns false when the command failed.
bool runCommand(QWidget* parent, const std::function<void()>& command);

// The hourglass while a long operation runs; the normal cursor comes back
// however the operation ends.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
