#include "app/grid/record_indicator_header.h"

#include <QMouseEvent>
#include <QPainter>

RecordIndicatorHeader::RecordIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    // Rows are picked by our own press handling, never selected as a block.
    setSectionsClickable(false);
    setSectionResizeMode(QHeaderView::Fixed);
}

QSize RecordIndicatorHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setWidth(fontMetrics().horizontalAdvance(QStringLiteral("▶")) + 8);
    return size;
}

void RecordIndicatorHeader::paintSection(QPainter* painter, const QRect& rect,
                                         int logicalIndex) const
{
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.section = logicalIndex;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const QString mark = markerAt(logicalIndex);
    if (!mark.isEmpty()) {
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->drawText(rect, Qt::AlignCenter, mark);
    }
}

void RecordIndicatorHeader::mousePressEvent(QMouseEvent* event)
{
    emit rowPressed(logicalIndexAt(event->position().toPoint()));
    event->accept();
}

void RecordIndicatorHeader::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit rowDoubleClicked(logicalIndexAt(event->position().toPoint()));
    event->accept();
}
