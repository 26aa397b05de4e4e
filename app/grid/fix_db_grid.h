#pragma once

#include "core/grid_layout.h"
#include "data/data_set_model.h"

#include <QStyleOptionViewItem>
#include <QTableView>

class DataSet;
class DataSource;
class FrozenColumnView;
class RecordIndicatorHeader;
class TitleClicks;

// The log grid: a data-aware grid over the row-set behind a data source,
// with a record indicator column, leading columns that stay in place while
// the others scroll, a highlight of the whole current line, and a title
// double click told apart from a single click.
//
// It is a viewer: no cell is ever edited in place. Its current line and the
// row-set's current row follow each other.
class TFixDBGrid : public QTableView
{
    Q_OBJECT

public:
    using Column = GridColumn;

    explicit TFixDBGrid(QWidget* parent = nullptr);

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }

    // The list order is the display order.
    void setColumns(const QList<Column>& columns);
    // Display order, widths and visibility as they stand now; a hidden
    // column keeps the width it will have when shown again.
    QList<Column> columns() const;

    // Frozen leading grid columns, the indicator column included. Reading
    // gives the count in force: while rows are open it is clamped so that
    // at least one column scrolls.
    int FixedCols() const { return effectiveFixedCols_; }
    void setFixedCols(int count);
    // Frozen columns may be selected; selecting one unfreezes it and the
    // columns after it, and selecting past the requested frozen area
    // freezes it again.
    bool FixedColsEdit() const { return fixedColsEdit_; }
    void setFixedColsEdit(bool on) { fixedColsEdit_ = on; }
    bool AsRowSelect() const { return asRowSelect_; }
    void setAsRowSelect(bool on);
    // Kept for the owner's settings: no column of this grid has a pick
    // list, so there is never a list to drop down.
    bool ShowPickList() const { return showPickList_; }
    void setShowPickList(bool on) { showPickList_ = on; }

    // Model columns frozen at the left now, in display order.
    QList<int> frozenColumns() const;
    // Keeps a scrolling cell clear of the frozen columns.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // Before the grid handles a key; setting handled keeps the key from it.
    void keyDown(QKeyEvent* event, bool& handled);
    void keyPress(QKeyEvent* event, bool& handled); // a typed character
    void gridDoubleClicked();
    // The user dragged a column title to another place.
    void columnMoved();
    // A press on the title line, a column border or below the last line.
    void mouseDownOutsideCells();
    // Title clicks, by model column: a double click is told from a single
    // one by waiting the double-click time after the first.
    void OnTitleDblClick(int column);
    void titleClicked(int column);
    // Before each data cell is painted, with the colours and state it will
    // be painted with; the owner may change them. focusCell is the one cell
    // the cursor is on (the other cells of a highlighted line are not).
    void drawColumnCell(const QModelIndex& index, bool focusCell, QStyleOptionViewItem& option);

protected:
    void ApplyFixedCols(int count);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    DataSet* openDataSet() const;
    QList<int> shownColumns() const; // model columns not hidden, display order
    int frozenCount() const;
    bool isFrozen(int column) const;
    int firstUnfrozenColumn() const;
    int cursorColumn() const; // the column a row move keeps
    void applyColumns();
    void layoutChange();
    void placeFrozenView();
    void keepCursorSelectable();
    void followDataSet();
    void moveDataSetTo(int row);
    void moveToRow(int row);
    void pressFrozenCell(const QModelIndex& index);
    bool homeToFirstUnfrozen(const QKeyEvent* event);
    bool stepPastEnds(const QKeyEvent* event);
    QString indicatorMark(int row) const;
    void watchTitles(QHeaderView* titles);

    DataSource* source_ = nullptr;
    DataSetModel* model_ = nullptr;
    QList<Column> declared_; // by model column: widths for hidden columns
    bool applyingColumns_ = false;
    FrozenColumnView* frozen_ = nullptr;
    RecordIndicatorHeader* indicator_ = nullptr;
    TitleClicks* titleClicks_ = nullptr;
    int requestedFixedCols_ = 1;
    int effectiveFixedCols_ = 1;
    bool fixedColsEdit_ = false;
    bool asRowSelect_ = false;
    bool showPickList_ = false;
    int followingDataSet_ = 0; // >0: cursor moves come from the row-set
};
