#pragma once

#include "entry/entry_line_edit.h"

#include <QLabel>
#include <QPointer>
#include <functional>

class DataSet;
class DataSource;

// A link from a control to one column of the current row behind a data
// source. It tells the control to read the column again: wholeRow when the
// row, its state or the rows changed, otherwise when some value of the row
// changed.
class FieldLink : public QObject
{
    Q_OBJECT

public:
    explicit FieldLink(const std::function<void(bool wholeRow)>& reload);

    void bind(DataSource* source, const QString& column);
    const QString& column() const { return column_; }
    // The open row-set with a current row, or null.
    DataSet* dataSet() const;
    QString fieldText() const;
    bool editing() const; // the row is being edited or inserted

private:
    QPointer<DataSource> source_;
    QString column_;
    std::function<void(bool)> reload_;
};

// A box bound to one column. Typing changes only the box; the text reaches
// the column when the box is left or when the dialog saves (commit). A
// change made to the column by someone else shows at once; the box's own
// pending text is kept while its column is untouched.
class TDBEdit : public EntryLineEdit
{
    Q_OBJECT

public:
    explicit TDBEdit(QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& column) { link_.bind(source, column); }
    const QString& column() const { return link_.column(); }

    // Writes the box's text into the column when it differs from what the
    // box last showed. An integer column takes a whole number or nothing; other text is
    // refused with an error naming the box's column.
    void commit();
    // Shows a text and writes it into the column.
    void setFieldText(const QString& text);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void reload(bool wholeRow);

    FieldLink link_;
    QString shown_; // the column's value as last read or written
};

// A read-only text showing one column of the current row.
class TDBText : public QLabel
{
    Q_OBJECT

public:
    explicit TDBText(QWidget* parent = nullptr);

    void bind(DataSource* source, const QString& column) { link_.bind(source, column); }

private:
    FieldLink link_;
};
