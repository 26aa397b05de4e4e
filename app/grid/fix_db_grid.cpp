#include "app/grid/fix_db_grid.h"

#include "app/grid/frozen_column_view.h"
#include "app/grid/grid_cell_delegate.h"
#include "app/grid/record_indicator_header.h"
#include "app/grid/title_clicks.h"
#include "data/data_set.h"
#include "data/data_source.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <algorithm>

namespace {

// Marks cursor moves that come from the row-set, so they are not sent back.
class Following
{
public:
    explicit Following(int& depth) : depth_(depth) { ++depth_; }
    ~Following() { --depth_; }
    Following(const Following&) = delete;
    Following& operator=(const Following&) = delete;

private:
    int& depth_;
};

} // namespace

TFixDBGrid::TFixDBGrid(QWidget* parent) : QTableView(parent)
{
    indicator_ = new RecordIndicatorHeader(this);
    setVerticalHeader(indicator_);
    indicator_->setDefaultSectionSize(fontMetrics().height() + 4);
    indicator_->setMarker([this](int row) { return indicatorMark(row); });
    connect(indicator_, &RecordIndicatorHeader::rowPressed, this, [this](int row) {
        if (row < 0) {
            emit mouseDownOutsideCells();
            return;
        }
        setFocus(Qt::MouseFocusReason);
        moveToRow(row);
    });
    connect(indicator_, &RecordIndicatorHeader::rowDoubleClicked, this, [this](int row) {
        if (row >= 0)
            emit gridDoubleClicked();
    });

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setAttribute(Qt::WA_InputMethodEnabled, false); // log entries are typed in the entry dialog
    setItemDelegate(new GridCellDelegate(this));
    // The current line stays visible when the focus is elsewhere.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    titleClicks_ = new TitleClicks(this);
    connect(titleClicks_, &TitleClicks::clicked, this, &TFixDBGrid::titleClicked);
    connect(titleClicks_, &TitleClicks::doubleClicked, this, &TFixDBGrid::OnTitleDblClick);

    QHeaderView* titles = horizontalHeader();
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setSectionsMovable(true);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    titles->setHighlightSections(false);
    watchTitles(titles);
    connect(titles, &QHeaderView::sectionResized, this, [this] { placeFrozenView(); });
    connect(titles, &QHeaderView::sectionMoved, this, [this] {
        layoutChange();
        if (!applyingColumns_)
            emit columnMoved();
    });

    frozen_ = new FrozenColumnView(this);
    watchTitles(frozen_->horizontalHeader());
    connect(frozen_, &FrozenColumnView::cellPressed, this, &TFixDBGrid::pressFrozenCell);
    connect(frozen_, &FrozenColumnView::cellDoubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit gridDoubleClicked();
    });
    connect(frozen_, &FrozenColumnView::columnResized, horizontalHeader(),
            &QHeaderView::resizeSection);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, frozen_->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(frozen_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
            &QScrollBar::setValue);
}

void TFixDBGrid::watchTitles(QHeaderView* titles)
{
    // A title press picks a title, never a whole column.
    disconnect(titles, &QHeaderView::sectionPressed, nullptr, nullptr);
    disconnect(titles, &QHeaderView::sectionEntered, nullptr, nullptr);
    titles->setSectionsClickable(true);
    titles->viewport()->installEventFilter(this);
    connect(titles, &QHeaderView::sectionClicked, titleClicks_, &TitleClicks::sectionClicked);
}

void TFixDBGrid::setDataSource(DataSource* source)
{
    if (source_ == source)
        return;
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    DataSetModel* oldModel = model_;
    QItemSelectionModel* oldSelection = selectionModel();
    QItemSelectionModel* oldFrozenSelection = frozen_->selectionModel();
    model_ = source ? new DataSetModel(source, this) : nullptr;
    if (model_) {
        // Before the views hear of a change: the cursor moves Qt makes while
        // rows come and go must not move the row-set.
        const auto hold = [this] { ++followingDataSet_; };
        connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, hold);
        connect(model_, &QAbstractItemModel::rowsAboutToBeInserted, this, hold);
        connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, hold);
    }
    setModel(model_);
    frozen_->setModel(model_);
    if (frozen_->selectionModel() != selectionModel()) {
        QItemSelectionModel* own = frozen_->selectionModel();
        frozen_->setSelectionModel(selectionModel());
        delete own;
    }
    if (oldSelection != oldFrozenSelection)
        delete oldFrozenSelection;
    delete oldSelection;
    delete oldModel;
    if (!model_)
        return;
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        --followingDataSet_;
        layoutChange();
        followDataSet();
    });
    for (auto done : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
        connect(model_, done, this, [this] {
            --followingDataSet_;
            followDataSet();
        });
    }
    connect(source_, &DataSource::currentChanged, this, &TFixDBGrid::followDataSet);
    connect(source_, &DataSource::stateChanged, indicator_->viewport(),
            qOverload<>(&QWidget::update));
    applyColumns();
    followDataSet();
}

void TFixDBGrid::setColumns(const QList<Column>& columns)
{
    declared_ = columns;
    if (model_)
        applyColumns();
}

void TFixDBGrid::applyColumns()
{
    QList<DataSetModel::Column> bound;
    for (const Column& column : declared_)
        bound.append({column.fieldName, column.title});
    model_->setColumns(bound);
    // Sections keep their order and widths across a reset of the same
    // width; a new column list starts from its own.
    QHeaderView* titles = horizontalHeader();
    applyingColumns_ = true;
    const auto applied = qScopeGuard([this] { applyingColumns_ = false; });
    for (int column = 0; column < declared_.size(); ++column) {
        const int from = titles->visualIndex(column);
        if (from != column)
            titles->moveSection(from, column);
        const Column& declared = declared_[column];
        titles->setSectionHidden(column, false);
        titles->resizeSection(column, declared.width > 0 ? declared.width
                                                         : std::max(titles->sectionSizeHint(column),
                                                                    titles->defaultSectionSize()));
        titles->setSectionHidden(column, !declared.visible);
    }
    layoutChange();
    keepCursorSelectable();
}

QList<TFixDBGrid::Column> TFixDBGrid::columns() const
{
    QList<Column> shown;
    const QHeaderView* titles = horizontalHeader();
    for (int visual = 0; visual < titles->count(); ++visual) {
        const int column = titles->logicalIndex(visual);
        Column entry = declared_.value(column);
        entry.visible = !titles->isSectionHidden(column);
        if (entry.visible)
            entry.width = titles->sectionSize(column);
        shown.append(entry);
    }
    return shown;
}

void TFixDBGrid::setFixedCols(int count)
{
    if (count == requestedFixedCols_)
        return;
    requestedFixedCols_ = count;
    layoutChange();
}

void TFixDBGrid::setAsRowSelect(bool on)
{
    if (on == asRowSelect_)
        return;
    asRowSelect_ = on;
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        selectionModel()->select(
            current, QItemSelectionModel::ClearAndSelect |
                         (on ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
    }
    layoutChange();
    viewport()->update();
}

DataSet* TFixDBGrid::openDataSet() const
{
    DataSet* rows = source_ ? source_->dataSet() : nullptr;
    return rows && rows->isOpen() ? rows : nullptr;
}

QList<int> TFixDBGrid::shownColumns() const
{
    QList<int> shown;
    const QHeaderView* titles = horizontalHeader();
    for (int visual = 0; visual < titles->count(); ++visual) {
        const int column = titles->logicalIndex(visual);
        if (!titles->isSectionHidden(column))
            shown.append(column);
    }
    return shown;
}

int TFixDBGrid::frozenCount() const
{
    if (!model_ || !openDataSet())
        return 0;
    const int scrollable = std::max<int>(0, int(shownColumns().size()) - 1);
    return std::clamp(effectiveFixedCols_ - 1, 0, scrollable);
}

QList<int> TFixDBGrid::frozenColumns() const
{
    return shownColumns().first(frozenCount());
}

bool TFixDBGrid::isFrozen(int column) const
{
    return frozenColumns().contains(column);
}

int TFixDBGrid::firstUnfrozenColumn() const
{
    const QList<int> shown = shownColumns();
    const int frozen = frozenCount();
    return frozen < shown.size() ? shown[frozen] : -1;
}

int TFixDBGrid::cursorColumn() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && !horizontalHeader()->isSectionHidden(current.column()) &&
        (fixedColsEdit_ || !isFrozen(current.column())))
        return current.column();
    return firstUnfrozenColumn();
}

void TFixDBGrid::ApplyFixedCols(int count)
{
    count = std::max(count, 1);
    if (count == effectiveFixedCols_)
        return;
    if (openDataSet())
        count = std::clamp(count, 1, std::max<int>(1, int(shownColumns().size())));
    effectiveFixedCols_ = count;
    placeFrozenView();
    keepCursorSelectable();
    viewport()->update();
}

void TFixDBGrid::layoutChange()
{
    if (!openDataSet()) {
        // Nothing is frozen without rows; the count waits for them.
        effectiveFixedCols_ = std::max(requestedFixedCols_, 1);
        placeFrozenView();
        return;
    }
    ApplyFixedCols(1);
    ApplyFixedCols(requestedFixedCols_);
    placeFrozenView();
    viewport()->update();
}

void TFixDBGrid::placeFrozenView()
{
    const QList<int> frozen = frozenColumns();
    if (frozen.isEmpty()) {
        frozen_->hide();
        return;
    }
    frozen_->follow(frozen);
    const QRect titles = horizontalHeader()->geometry();
    frozen_->setGeometry(viewport()->x(), titles.y(), frozen_->frozenWidth(),
                         titles.height() + viewport()->height());
    frozen_->show();
    frozen_->raise();
}

void TFixDBGrid::updateGeometries()
{
    QTableView::updateGeometries();
    if (frozen_)
        placeFrozenView();
}

void TFixDBGrid::keepCursorSelectable()
{
    const QModelIndex current = currentIndex();
    if (!model_ || !current.isValid() || !isFrozen(current.column()))
        return;
    const int column = firstUnfrozenColumn();
    if (column >= 0)
        setCurrentIndex(model_->index(current.row(), column));
}

void TFixDBGrid::followDataSet()
{
    indicator_->viewport()->update();
    const DataSet* rows = openDataSet();
    if (!model_ || !rows)
        return;
    const int row = rows->recNo() - 1;
    const int column = cursorColumn();
    if (row < 0 || row >= model_->rowCount() || column < 0)
        return;
    const QModelIndex target = model_->index(row, column);
    if (target == currentIndex() && selectionModel()->isSelected(target))
        return;
    const Following following(followingDataSet_);
    setCurrentIndex(target);
}

void TFixDBGrid::moveDataSetTo(int row)
{
    DataSet* rows = openDataSet();
    if (!rows || rows->recNo() == row + 1)
        return;
    try {
        rows->setRecNo(row + 1);
    } catch (...) {
        followDataSet(); // the row-set did not move: neither does the cursor
        throw;
    }
}

void TFixDBGrid::moveToRow(int row)
{
    const int column = cursorColumn();
    if (model_ && column >= 0 && row >= 0 && row < model_->rowCount())
        setCurrentIndex(model_->index(row, column));
}

void TFixDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    indicator_->viewport()->update();
    if (!current.isValid() || followingDataSet_ > 0)
        return;
    if (fixedColsEdit_ && current.column() != previous.column() && openDataSet()) {
        // The frozen area follows the selection: a frozen column picked
        // becomes the first scrolling one.
        const int gridColumn = int(shownColumns().indexOf(current.column())) + 1;
        if (gridColumn <= requestedFixedCols_)
            ApplyFixedCols(gridColumn);
        else if (effectiveFixedCols_ != requestedFixedCols_)
            ApplyFixedCols(requestedFixedCols_);
        scrollTo(currentIndex());
    }
    moveDataSetTo(current.row());
}

void TFixDBGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    QScrollBar* across = horizontalScrollBar();
    const int before = across->value();
    QTableView::scrollTo(index, hint);
    if (!index.isValid() || frozenCount() == 0)
        return;
    if (isFrozen(index.column())) {
        across->setValue(before); // frozen cells are always in sight
        return;
    }
    const int covered = frozen_->frozenWidth() - columnViewportPosition(index.column());
    if (covered > 0)
        across->setValue(across->value() - covered);
}

QString TFixDBGrid::indicatorMark(int row) const
{
    const DataSet* rows = openDataSet();
    if (!rows || row != rows->recNo() - 1)
        return {};
    switch (rows->state()) {
    case DataSet::State::Edit:
        return QStringLiteral("I");
    case DataSet::State::Insert:
        return QStringLiteral("*");
    default:
        return QStringLiteral("▶");
    }
}
