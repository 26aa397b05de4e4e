#pragma once

#include "data/statement_values.h"

#include <QValidator>

// Refuses an edit that would leave a box holding a text its column cannot
// keep: longer than the open table's column holds (in bytes of code page 932
// for a folder table, where a Japanese character takes two), as saving would
// be refused.
class TextLimitValidator : public QValidator
{
    Q_OBJECT

public:
    explicit TextLimitValidator(QString column, QObject* parent = nullptr)
        : QValidator(parent), column_(std::move(column))
    {}

    const QString& column() const { return column_; }
    void setLimit(TextLimit limit) { limit_ = limit; }
    State validate(QString& input, int& position) const override;

private:
    QString column_;
    TextLimit limit_;
};
