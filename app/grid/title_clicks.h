#pragma once

#include <QObject>
#include <QTimer>

// Tells a single click on a column title from a double one without holding
// up the event loop: a click is reported only when no other mouse button
// message reached the title line within the platform's double-click time.
class TitleClicks : public QObject
{
    Q_OBJECT

public:
    explicit TitleClicks(QObject* parent = nullptr);

    // Any mouse button message on the title line (press or double click).
    void buttonMessage();
    // The title line's own click on a section (model column).
    void sectionClicked(int column);
    bool waiting() const { return timer_.isActive(); }

signals:
    void clicked(int column);
    void doubleClicked(int column);

private:
    QTimer timer_;
    int column_ = -1;
    bool swallowClick_ = false; // the click that completes a double click
};
