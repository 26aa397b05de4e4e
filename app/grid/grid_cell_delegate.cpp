#include "app/grid/grid_cell_delegate.h"

#include "app/grid/fix_db_grid.h"

#include <QPainter>

GridCellDelegate::GridCellDelegate(TFixDBGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const bool focusCell = index == grid_->currentIndex();
    const bool lineHighlight = grid_->AsRowSelect() && focusCell;
    if (lineHighlight)
        cell.state &= ~QStyle::State_HasFocus; // our own mark replaces the style's
    emit grid_->drawColumnCell(index, focusCell, cell);
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : nullptr;
    if (!style)
        return;
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    if (lineHighlight) {
        painter->save();
        painter->setPen(QPen(cell.palette.color(QPalette::HighlightedText), 1, Qt::DotLine));
        painter->drawRect(cell.rect.adjusted(1, 1, -2, -2));
        painter->restore();
    }
}
