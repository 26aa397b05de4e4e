#pragma once

#include <QObject>

class QWidget;

// How a box treats the input method when it receives the focus, and whether
// it turns letters into capitals as they are typed.
//
// Closed boxes (times, dates, places) take plain Latin input: the input
// method is switched off for them. Open and unchanged boxes let the input
// method work; which of its modes it starts in is the input method's own
// choice, since it keeps that per session.
class InputModes : public QObject
{
    Q_OBJECT

public:
    enum class Ime
    {
        Open,
        Closed,
        Unchanged,
    };

    // Installs itself on the box; the box owns it.
    static InputModes* install(QWidget* box, Ime ime);
    static InputModes* of(QWidget* box);

    Ime ime() const { return ime_; }
    // Takes effect the next time the box receives the focus.
    void setIme(Ime ime) { ime_ = ime; }
    bool upperCase() const { return upperCase_; }
    void setUpperCase(bool on) { upperCase_ = on; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InputModes(QWidget* box, Ime ime);
    void applyIme(QWidget* box) const;

    Ime ime_;
    bool upperCase_ = false;
};
