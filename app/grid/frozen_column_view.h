#pragma once

#include <QTableView>

// The leading columns that stay in place: a second view laid over the
// grid's left edge, sharing its model and selection, showing only the
// frozen columns and drawing their cells like titles. The grid places it
// and decides what a press on it means.
class FrozenColumnView : public QTableView
{
    Q_OBJECT

public:
    explicit FrozenColumnView(QTableView* grid);

    // Shows exactly `columns` (model columns, in that order) at the widths
    // the grid's title line gives them.
    void follow(const QList<int>& columns);
    int frozenWidth() const;

signals:
    void cellPressed(const QModelIndex& index); // invalid: outside every cell
    void cellDoubleClicked(const QModelIndex& index);
    // The user dragged a frozen column's border.
    void columnResized(int column, int size);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QTableView* grid_;
    QList<int> columns_;
    bool following_ = false; // our own changes are not the user's
};
