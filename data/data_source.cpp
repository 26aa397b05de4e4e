#include "data/data_source.h"

#include "data/data_set.h"

DataSource::DataSource(QObject* parent) : QObject(parent) {}

bool DataSource::following() const
{
    return dataSet_ && !dataSet_->controlsDisabled();
}

void DataSource::setDataSet(DataSet* dataSet)
{
    if (dataSet_ == dataSet)
        return;
    if (dataSet_)
        disconnect(dataSet_, nullptr, this, nullptr);
    dataSet_ = dataSet;
    if (dataSet_) {
        const auto forward = [this](auto signal) {
            return [this, signal](auto... arguments) {
                if (following())
                    emit(this->*signal)(arguments...);
            };
        };
        connect(dataSet_, &DataSet::rowsReset, this, forward(&DataSource::rowsReset));
        connect(dataSet_, &DataSet::rowAboutToBeInserted, this,
                forward(&DataSource::rowAboutToBeInserted));
        connect(dataSet_, &DataSet::rowInserted, this, forward(&DataSource::rowInserted));
        connect(dataSet_, &DataSet::rowAboutToBeRemoved, this,
                forward(&DataSource::rowAboutToBeRemoved));
        connect(dataSet_, &DataSet::rowRemoved, this, forward(&DataSource::rowRemoved));
        connect(dataSet_, &DataSet::rowChanged, this, forward(&DataSource::rowChanged));
        connect(dataSet_, &DataSet::currentChanged, this, forward(&DataSource::currentChanged));
        connect(dataSet_, &DataSet::stateChanged, this, forward(&DataSource::stateChanged));
        connect(dataSet_, &DataSet::controlsEnabled, this, &DataSource::rowsReset);
        connect(dataSet_, &QObject::destroyed, this, &DataSource::rowsReset);
    }
    emit rowsReset();
}
