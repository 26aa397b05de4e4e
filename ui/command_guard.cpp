#include "ui/command_guard.h"

#include "core/error.h"
#include "ui/message_box.h"

#include <QApplication>

bool runCommand(QWidget* parent, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const SkelvoError& error) {
        MessageBox::error(parent, error.message());
    } catch (const std::exception& error) {
        MessageBox::error(parent, QString::fromLocal8Bit(error.what()));
    }
    return false;
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    QApplication::restoreOverrideCursor();
}
