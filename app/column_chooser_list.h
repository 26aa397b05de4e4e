#pragma once

#include <QListWidget>

// The column chooser's tick list, whose lines the user drags to a new place.
// While a line is dragged, the line under the pointer carries a 2-pixel
// mark, along its top edge when it lies above the dragged line and along
// its bottom edge otherwise. The drag's steps are public so that they can
// be driven as the mouse drives them.
class TColumnChooserList : public QListWidget
{
    Q_OBJECT

public:
    explicit TColumnChooserList(QWidget* parent = nullptr);

    void beginLineDrag();                // the selected line starts moving
    void dragOverLine(const QPoint& at); // viewport coordinates
    void dropLine(const QPoint& at);
    void endLineDrag(); // after a drop, or when the drag ended elsewhere
    int markedLine() const { return marked_; }

signals:
    // The drag is over: the line that started at from now stands at to
    // (from itself when it was not dropped on the list).
    void lineDragEnded(int from, int to);

protected:
    void startDrag(Qt::DropActions actions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    int lineAt(const QPoint& at, int belowTheLast) const;
    void setMark(int line);

    int source_ = -1;
    int target_ = -1;
    int marked_ = -1;
    QRect mark_;
};
