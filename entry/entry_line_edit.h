#pragma once

#include <QLineEdit>

// A box of the entry dialog: entering it, by the keyboard or a click,
// selects its whole text, so that typing replaces what it held instead of
// running on from it ("10:44" and a typed "1040" must not become "104410:40").
class EntryLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit EntryLineEdit(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // A click sets the cursor as the button goes down; the text is selected
    // once it comes up, unless the click dragged a selection of its own.
    bool enteredByClick_ = false;
};
