#include "entry/entry_line_edit.h"

#include <QFocusEvent>

EntryLineEdit::EntryLineEdit(QWidget* parent) : QLineEdit(parent) {}

void EntryLineEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::MouseFocusReason:
        enteredByClick_ = true;
        break;
    case Qt::PopupFocusReason:
    case Qt::ActiveWindowFocusReason:
        break; // back from a menu, a list or another window: not entered
    default:
        selectAll();
        break;
    }
}

void EntryLineEdit::focusOutEvent(QFocusEvent* event)
{
    enteredByClick_ = false;
    QLineEdit::focusOutEvent(event);
}

void EntryLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (enteredByClick_ && !hasSelectedText())
        selectAll();
    enteredByClick_ = false;
}
