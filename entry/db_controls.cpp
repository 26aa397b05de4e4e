#include "entry/db_controls.h"

#include "core/error.h"
#include "core/log_record.h"
#include "data/data_set.h"
#include "data/data_source.h"
#include "ui/command_guard.h"

#include <QFocusEvent>

FieldLink::FieldLink(const std::function<void(bool)>& reload) : reload_(reload) {}

void FieldLink::bind(DataSource* source, const QString& column)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    column_ = column;
    const auto reloadRow = [this] { reload_(true); };
    connect(source, &DataSource::rowsReset, this, reloadRow);
    connect(source, &DataSource::currentChanged, this, reloadRow);
    connect(source, &DataSource::stateChanged, this, reloadRow);
    connect(source, &DataSource::rowChanged, this, [this] { reload_(false); });
    reload_(true);
}

DataSet* FieldLink::dataSet() const
{
    DataSet* rows = source_ ? source_->dataSet() : nullptr;
    return rows && rows->isOpen() && rows->recNo() > 0 && rows->fieldIndex(column_) >= 0 ? rows
                                                                                         : nullptr;
}

QString FieldLink::fieldText() const
{
    const DataSet* rows = dataSet();
    return rows ? rows->asString(column_) : QString();
}

bool FieldLink::editing() const
{
    const DataSet* rows = dataSet();
    return rows &&
           (rows->state() == DataSet::State::Edit || rows->state() == DataSet::State::Insert);
}

TDBEdit::TDBEdit(QWidget* parent)
    : EntryLineEdit(parent), link_([this](bool wholeRow) { reload(wholeRow); })
{}

void TDBEdit::reload(bool wholeRow)
{
    const QString value = link_.fieldText();
    // Another column changed: the text being typed here stays.
    if (!wholeRow && value == shown_ && isModified())
        return;
    shown_ = value;
    // Setting the same text again would drop the selection made on entry.
    if (text() != value)
        setText(value);
    setModified(false);
}

void TDBEdit::commit()
{
    if (!link_.editing() || text() == shown_)
        return;
    const LogRecord::Column* column = LogRecord::findColumn(link_.column());
    QVariant value = text();
    if (column && (column->kind == LogRecord::ColumnKind::Integer ||
                   column->kind == LogRecord::ColumnKind::Flag)) {
        bool number = false;
        const int integer = text().trimmed().toInt(&number);
        if (!text().trimmed().isEmpty() && !number)
            throw SkelvoError(QStringLiteral("「%1」は %2 に入れられる数値ではありません。")
                                  .arg(text(), column->name));
        value = number ? QVariant(integer) : QVariant(QMetaType::fromType<int>());
    }
    shown_ = text();
    setModified(false);
    link_.dataSet()->setValue(link_.column(), value);
}

void TDBEdit::setFieldText(const QString& text)
{
    setText(text);
    setModified(true);
    commit();
}

void TDBEdit::focusOutEvent(QFocusEvent* event)
{
    EntryLineEdit::focusOutEvent(event);
    // Opening a pop-up menu or leaving the window is not leaving the box.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        runCommand(this, [this] { commit(); });
}

TDBText::TDBText(QWidget* parent)
    : QLabel(parent), link_([this](bool) { setText(link_.fieldText()); })
{}
