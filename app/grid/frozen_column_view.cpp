#include "app/grid/frozen_column_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <qdrawutil.h>

namespace {

// Frozen cells look like title cells: title colour, title font, a raised
// edge, and no selection highlight.
class TitleLikeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell(option);
        initStyleOption(&cell, index);
        painter->save();
        painter->fillRect(cell.rect, cell.palette.button());
        qDrawShadePanel(painter, cell.rect, cell.palette, false, 1);
        painter->setPen(cell.palette.color(QPalette::ButtonText));
        painter->drawText(
            cell.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
            cell.fontMetrics.elidedText(cell.text, Qt::ElideRight, cell.rect.width() - 4));
        painter->restore();
    }
};

} // namespace

FrozenColumnView::FrozenColumnView(QTableView* grid) : QTableView(grid), grid_(grid)
{
    setFocusPolicy(Qt::NoFocus);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setCornerButtonEnabled(false);
    setItemDelegate(new TitleLikeDelegate(this));
    verticalHeader()->hide();
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (!following_ && !horizontalHeader()->isSectionHidden(column))
                    emit columnResized(column, size);
            });
    hide();
}

void FrozenColumnView::follow(const QList<int>& columns)
{
    columns_ = columns;
    following_ = true;
    QHeaderView* mine = horizontalHeader();
    const QHeaderView* theirs = grid_->horizontalHeader();
    for (int visual = 0; visual < columns.size(); ++visual) {
        const int from = mine->visualIndex(columns[visual]);
        if (from != visual)
            mine->moveSection(from, visual);
    }
    for (int column = 0; column < mine->count(); ++column) {
        const bool shown = columns.contains(column);
        mine->setSectionHidden(column, !shown);
        if (shown)
            mine->resizeSection(column, theirs->sectionSize(column));
    }
    mine->setFixedHeight(theirs->height());
    const QHeaderView* rows = grid_->verticalHeader();
    verticalHeader()->setDefaultSectionSize(rows->defaultSectionSize());
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setShowGrid(grid_->showGrid());
    verticalScrollBar()->setValue(grid_->verticalScrollBar()->value());
    following_ = false;
}

int FrozenColumnView::frozenWidth() const
{
    int width = 0;
    for (int column : columns_)
        width += grid_->horizontalHeader()->sectionSize(column);
    return width;
}

void FrozenColumnView::mousePressEvent(QMouseEvent* event)
{
    emit cellPressed(indexAt(event->position().toPoint()));
    event->accept();
}

void FrozenColumnView::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit cellDoubleClicked(indexAt(event->position().toPoint()));
    event->accept();
}

// No drag selection starts on a frozen cell.
void FrozenColumnView::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

void FrozenColumnView::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}
