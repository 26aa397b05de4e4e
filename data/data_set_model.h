#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>

class DataSource;

// A grid's view of the row-set behind a data source: one model row per
// row, one model column per bound field. A change of one row updates that
// row only; the model is reset only when the row-set is re-read or rebound.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Column
    {
        QString fieldName;
        QString title;
    };

    explicit DataSetModel(DataSource* source, QObject* parent = nullptr);

    void setColumns(const QList<Column>& columns);
    const QList<Column>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void resetFromSource();
    void bindFields();

    DataSource* source_;
    QList<Column> columns_;
    QList<int> fieldIndexes_; // -1 where the row-set lacks the field
    int rowCount_ = 0;        // as last announced to the views
};
