#include "data/data_set_model.h"

#include "data/data_set.h"
#include "data/data_source.h"

DataSetModel::DataSetModel(DataSource* source, QObject* parent)
    : QAbstractTableModel(parent), source_(source)
{
    connect(source_, &DataSource::rowsReset, this, &DataSetModel::resetFromSource);
    // The row-set announces a row before it arrives or goes, so the views
    // still read the old rows while they are told of the change.
    connect(source_, &DataSource::rowAboutToBeInserted, this,
            [this](int row) { beginInsertRows({}, row, row); });
    connect(source_, &DataSource::rowInserted, this, [this] {
        ++rowCount_;
        endInsertRows();
    });
    connect(source_, &DataSource::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(source_, &DataSource::rowRemoved, this, [this] {
        --rowCount_;
        endRemoveRows();
    });
    connect(source_, &DataSource::rowChanged, this, [this](int row) {
        if (row >= 0 && row < rowCount_ && !columns_.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
    });
    resetFromSource();
}

void DataSetModel::setColumns(const QList<Column>& columns)
{
    beginResetModel();
    columns_ = columns;
    bindFields();
    endResetModel();
}

void DataSetModel::resetFromSource()
{
    beginResetModel();
    const DataSet* dataSet = source_->dataSet();
    rowCount_ = dataSet && dataSet->isOpen() ? dataSet->recordCount() : 0;
    bindFields();
    endResetModel();
}

void DataSetModel::bindFields()
{
    const DataSet* dataSet = source_->dataSet();
    fieldIndexes_.clear();
    for (const Column& column : columns_)
        fieldIndexes_.append(dataSet ? dataSet->fieldIndex(column.fieldName) : -1);
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rowCount_;
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    const DataSet* dataSet = source_->dataSet();
    if (role != Qt::DisplayRole || !index.isValid() || !dataSet || !dataSet->isOpen())
        return {};
    const int field = fieldIndexes_.value(index.column(), -1);
    // While bound controls are suspended the row-set may hold fewer rows
    // than the views were last told of.
    if (field < 0 || index.row() >= dataSet->recordCount())
        return {};
    const QVariant value = dataSet->valueAt(index.row(), field);
    return value.isNull() ? QString() : value.toString();
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columns_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return columns_[section].title;
}
