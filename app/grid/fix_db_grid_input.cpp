#include "app/grid/fix_db_grid.h"
#include "app/grid/frozen_column_view.h"
#include "app/grid/title_clicks.h"
#include "data/data_set.h"

#include <QHeaderView>
#include <QKeyEvent>

// Keyboard and mouse: what reaches the owner, and the cursor rules for
// frozen columns and for the ends of the rows.

void TFixDBGrid::pressFrozenCell(const QModelIndex& index)
{
    if (!index.isValid()) {
        emit mouseDownOutsideCells();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    if (fixedColsEdit_)
        setCurrentIndex(index);
    else
        moveToRow(index.row()); // like the indicator: the row, not the column
}

QModelIndex TFixDBGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (!next.isValid() || fixedColsEdit_ || !isFrozen(next.column()))
        return next;
    const QModelIndex current = currentIndex();
    const int first = firstUnfrozenColumn();
    if (action == MovePrevious && current.isValid() && current.column() == first) {
        // Back-tab from the first scrolling column wraps to the line above.
        if (current.row() == 0)
            return current;
        return model_->index(current.row() - 1, shownColumns().constLast());
    }
    return model_->index(next.row(), first);
}

bool TFixDBGrid::homeToFirstUnfrozen(const QKeyEvent* event)
{
    if (event->key() != Qt::Key_Home || (event->modifiers() & Qt::ControlModifier))
        return false;
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return false;
    const QList<int> shown = shownColumns();
    const int frozen = frozenCount();
    if (shown.indexOf(current.column()) <= frozen)
        return false;
    setCurrentIndex(model_->index(current.row(), shown[frozen]));
    return true;
}

bool TFixDBGrid::stepPastEnds(const QKeyEvent* event)
{
    DataSet* rows = openDataSet();
    const QModelIndex current = currentIndex();
    if (!rows || !current.isValid())
        return false;
    // The row-set's end and start flags tell the owner that the cursor
    // tried to leave the rows ("Down at the end" appends a flight).
    if (event->key() == Qt::Key_Down && current.row() == model_->rowCount() - 1) {
        rows->next();
        return true;
    }
    if (event->key() == Qt::Key_Up && current.row() == 0) {
        rows->prior();
        return true;
    }
    return false;
}

void TFixDBGrid::keyPressEvent(QKeyEvent* event)
{
    if (homeToFirstUnfrozen(event)) {
        event->accept();
        return;
    }
    bool handled = false;
    emit keyDown(event, handled);
    if (handled) {
        event->accept();
        return;
    }
    const QString text = event->text();
    const bool typed =
        !text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typed) {
        emit keyPress(event, handled);
        event->accept(); // a viewer: typing neither edits nor searches
        return;
    }
    if (stepPastEnds(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TFixDBGrid::mousePressEvent(QMouseEvent* event)
{
    if (!indexAt(event->position().toPoint()).isValid()) {
        emit mouseDownOutsideCells();
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TFixDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const bool onCell = indexAt(event->position().toPoint()).isValid();
    QTableView::mouseDoubleClickEvent(event);
    if (onCell)
        emit gridDoubleClicked();
}

bool TFixDBGrid::eventFilter(QObject* watched, QEvent* event)
{
    const bool titleLine = watched == horizontalHeader()->viewport() ||
                           (frozen_ && watched == frozen_->horizontalHeader()->viewport());
    const QEvent::Type type = event->type();
    if (titleLine && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        titleClicks_->buttonMessage();
        emit mouseDownOutsideCells();
        if (type == QEvent::MouseButtonDblClick)
            emit gridDoubleClicked();
    }
    return QTableView::eventFilter(watched, event);
}
