#include "app/column_chooser_list.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QPainter>

namespace {

constexpr int MarkHeight = 2;
const QString LineMime = QStringLiteral("application/x-skelvo-chooser-line");

} // namespace

TColumnChooserList::TColumnChooserList(QWidget* parent) : QListWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false); // the mark below shows where the line goes
    setDragDropMode(QAbstractItemView::DragDrop);
}

int TColumnChooserList::lineAt(const QPoint& at, int belowTheLast) const
{
    const QModelIndex index = indexAt(at);
    return index.isValid() ? index.row() : belowTheLast;
}

void TColumnChooserList::beginLineDrag()
{
    source_ = target_ = currentRow();
    setMark(-1);
}

void TColumnChooserList::dragOverLine(const QPoint& at)
{
    const int line = lineAt(at, 0); // below the last line: the first one
    if (line != marked_)
        setMark(line);
}

void TColumnChooserList::dropLine(const QPoint& at)
{
    const int line = lineAt(at, count() - 1); // below the last line: the last one
    setMark(-1);
    if (source_ < 0 || line < 0)
        return;
    insertItem(line, takeItem(source_));
    setCurrentRow(line);
    target_ = line;
}

void TColumnChooserList::endLineDrag()
{
    setMark(-1);
    const int from = source_;
    const int to = target_;
    source_ = target_ = -1;
    if (from >= 0)
        emit lineDragEnded(from, to);
}

void TColumnChooserList::setMark(int line)
{
    marked_ = line;
    mark_ = QRect();
    if (line >= 0) {
        const QRect box = visualItemRect(item(line));
        const int top = line < source_ ? box.top() : box.bottom() - MarkHeight + 1;
        mark_ = QRect(box.left(), top, box.width(), MarkHeight);
    }
    viewport()->update();
}

void TColumnChooserList::startDrag(Qt::DropActions)
{
    beginLineDrag();
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setData(LineMime, QByteArray::number(source_));
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
    endLineDrag();
}

void TColumnChooserList::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->source() == this)
        event->acceptProposedAction();
}

void TColumnChooserList::dragMoveEvent(QDragMoveEvent* event)
{
    if (event->source() != this)
        return;
    dragOverLine(event->position().toPoint());
    event->acceptProposedAction();
}

void TColumnChooserList::dropEvent(QDropEvent* event)
{
    if (event->source() != this)
        return;
    dropLine(event->position().toPoint());
    event->acceptProposedAction();
}

void TColumnChooserList::paintEvent(QPaintEvent* event)
{
    QListWidget::paintEvent(event);
    if (mark_.isNull())
        return;
    // An inverted bar, as a focus mark drawn twice would vanish again.
    QPainter painter(viewport());
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(mark_, Qt::white);
}
