#pragma once

#include <QStyledItemDelegate>

class TFixDBGrid;

// Paints the grid's data cells: lets the owner recolour each cell first,
// and marks the focus cell inside a highlighted line so that it stays
// visible while the whole line is highlighted.
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridCellDelegate(TFixDBGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    TFixDBGrid* grid_;
};
