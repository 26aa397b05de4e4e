#include "entry/input_modes.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

InputModes::InputModes(QWidget* box, Ime ime) : QObject(box), ime_(ime) {}

InputModes* InputModes::install(QWidget* box, Ime ime)
{
    auto* modes = new InputModes(box, ime);
    box->installEventFilter(modes);
    modes->applyIme(box);
    return modes;
}

InputModes* InputModes::of(QWidget* box)
{
    return box->findChild<InputModes*>(QString(), Qt::FindDirectChildrenOnly);
}

void InputModes::applyIme(QWidget* box) const
{
    const bool closed = ime_ == Ime::Closed;
    box->setAttribute(Qt::WA_InputMethodEnabled, !closed);
    box->setInputMethodHints(closed ? Qt::ImhPreferLatin | Qt::ImhNoPredictiveText : Qt::ImhNone);
}

bool InputModes::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::FocusIn) {
        applyIme(box);
    } else if (event->type() == QEvent::KeyPress && upperCase_) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString upper = key->text().toUpper();
        if (upper != key->text()) {
            QKeyEvent capital(QEvent::KeyPress, key->key(), key->modifiers(), upper,
                              key->isAutoRepeat(), ushort(key->count()));
            QCoreApplication::sendEvent(box, &capital);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
