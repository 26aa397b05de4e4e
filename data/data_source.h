#pragma once

#include <QObject>
#include <QPointer>

class DataSet;

// What bound controls follow: the row-set in use and its changes. While the
// row-set has its controls disabled nothing is passed on; when they are
// enabled again the controls are told to read everything afresh.
class DataSource : public QObject
{
    Q_OBJECT

public:
    explicit DataSource(QObject* parent = nullptr);

    void setDataSet(DataSet* dataSet);
    DataSet* dataSet() const { return dataSet_; }

signals:
    void rowsReset();
    void rowAboutToBeInserted(int row);
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void currentChanged(int row);
    void stateChanged();

private:
    bool following() const;

    QPointer<DataSet> dataSet_;
};
