#include "data/data_set.h"

#include "core/error.h"
#include "core/statement_error.h"
#include "data/text_bytes.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <utility>

namespace {

QSqlDatabase openConnection(const QString& name)
{
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.isValid())
        throw SkelvoError(QStringLiteral("データベースに接続していません。"));
    // A connection closed since the last use opens again with its last
    // parameters.
    if (!db.isOpen() && !db.open())
        throw SkelvoError(
            QStringLiteral("データベースに接続できません: %1").arg(db.lastError().text()));
    return db;
}

} // namespace

DataSet::DataSet(QObject* parent) : QObject(parent) {}

DataSet::~DataSet() = default;

void DataSet::open()
{
    if (isOpen())
        close();
    loadRows();
    writer_.reset(connectionName_, updateTable_, fieldNames_);
    settings_.flags = QList<FieldFlags>(fieldNames_.size());
    current_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    setState(State::Browse);
    emit rowsReset();
    emit currentChanged(int(current_));
}

void DataSet::loadRows()
{
    QSqlQuery query(openConnection(connectionName_));
    query.setForwardOnly(true);
    if (!query.exec(commandText_))
        throw SkelvoError(statementError(query.lastError().text(), commandText_));
    const QSqlRecord record = query.record();
    fieldNames_.clear();
    lowerNames_.clear();
    fieldByName_.clear();
    fieldByAddress_.clear();
    for (int i = 0; i < record.count(); ++i) {
        fieldNames_.append(record.fieldName(i));
        lowerNames_.append(record.fieldName(i).toLower());
    }
    for (int i = 0; i < record.count(); ++i)
        fieldByName_.insert(lowerNames_[i], i);
    const TextReadAsBytes reader(record, textAsBytes_);
    rows_.clear();
    pending_.clear();
    rows_.reserve(std::max(query.size(), 0));
    const int width = record.count();
    while (query.next()) {
        auto row = std::make_shared<DataSetRow>();
        row->values.reserve(width);
        for (int i = 0; i < width; ++i)
            row->values.append(reader.value(query, i));
        // One copy: the row's values are what the table holds.
        row->stored = row->values;
        row->position = qsizetype(rows_.size());
        rows_.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        throw SkelvoError(query.lastError().text());
}

void DataSet::close()
{
    if (!isOpen())
        return;
    checkBrowseMode();
    if (!pending_.empty())
        applyUpdates();
    rows_.clear();
    current_ = -1;
    bof_ = eof_ = true;
    setState(State::Inactive);
    emit rowsReset();
}

void DataSet::execute(const QString& statement)
{
    setCommandText(statement);
    QSqlQuery query(openConnection(connectionName_));
    if (!query.exec(statement))
        throw SkelvoError(query.lastError().text());
}

void DataSet::requireOpen() const
{
    if (!isOpen())
        throw SkelvoError(QStringLiteral("テーブルが開いていません。"));
}

void DataSet::requireRows() const
{
    requireOpen();
    if (current_ < 0)
        throw SkelvoError(QStringLiteral("テーブルにレコードがありません。"));
}

const DataSetRow& DataSet::currentRow() const
{
    requireRows();
    return *rows_[current_];
}

DataSetRow& DataSet::currentRow()
{
    requireRows();
    return *rows_[current_];
}

void DataSet::setState(State state)
{
    if (state_ == state)
        return;
    state_ = state;
    // The copy that cancel() restores is needed only while editing.
    if (state != State::Edit)
        editBackup_ = {};
    emit stateChanged();
}

void DataSet::checkBrowseMode()
{
    if (state_ == State::Edit || state_ == State::Insert)
        post();
}

void DataSet::moveTo(qsizetype row)
{
    if (current_ == row)
        return;
    current_ = row;
    emit currentChanged(int(row));
}

void DataSet::first()
{
    requireOpen();
    checkBrowseMode();
    moveTo(rows_.empty() ? -1 : 0);
    bof_ = true;
    eof_ = rows_.empty();
}

void DataSet::last()
{
    requireOpen();
    checkBrowseMode();
    moveTo(qsizetype(rows_.size()) - 1);
    eof_ = true;
    bof_ = rows_.empty();
}

void DataSet::next()
{
    requireOpen();
    checkBrowseMode();
    bof_ = false;
    if (current_ + 1 >= qsizetype(rows_.size())) {
        eof_ = true;
        return;
    }
    eof_ = false;
    moveTo(current_ + 1);
}

void DataSet::prior()
{
    requireOpen();
    checkBrowseMode();
    eof_ = false;
    if (current_ <= 0) {
        bof_ = true;
        return;
    }
    bof_ = false;
    moveTo(current_ - 1);
}

int DataSet::recNo() const
{
    return int(current_ + 1);
}

void DataSet::setRecNo(int recNo)
{
    requireOpen();
    checkBrowseMode();
    if (rows_.empty())
        return;
    moveTo(std::clamp<qsizetype>(recNo, 1, qsizetype(rows_.size())) - 1);
    bof_ = eof_ = false;
}

int DataSet::fieldIndex(QStringView name) const
{
    const auto seen = fieldByAddress_.constFind(name.data());
    if (seen != fieldByAddress_.cend() && lowerNames_[*seen] == name)
        return *seen;
    // The code names its columns in lower case: those are found as they come.
    const auto found = fieldByName_.constFind(name);
    if (found == fieldByName_.cend())
        return fieldByName_.value(name.toString().toLower(), -1);
    if (fieldByAddress_.size() >= 4 * lowerNames_.size()) // texts of passing strings
        fieldByAddress_.clear();
    fieldByAddress_.insert(name.data(), *found);
    return *found;
}

int DataSet::fieldIndexOrRaise(QStringView name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw SkelvoError(QStringLiteral("列 %1 がありません。").arg(name));
    return index;
}

QVariant DataSet::value(QStringView name) const
{
    const int field = fieldIndexOrRaise(name);
    return currentRow().values[field];
}

QString DataSet::asString(QStringView name) const
{
    const QVariant v = value(name);
    return v.isNull() ? QString() : v.toString();
}

int DataSet::asInteger(QStringView name) const
{
    const QVariant v = value(name);
    return v.isNull() ? 0 : v.toInt();
}

bool DataSet::asBoolean(QStringView name) const
{
    const QVariant v = value(name);
    if (v.isNull())
        return false;
    bool numeric = false;
    const qlonglong number = v.toLongLong(&numeric);
    return numeric ? number != 0 : v.toBool();
}

void DataSet::setValue(QStringView name, const QVariant& value)
{
    const int field = fieldIndexOrRaise(name);
    DataSetRow& row = currentRow();
    if (state_ != State::Edit && state_ != State::Insert)
        throw SkelvoError(QStringLiteral("レコードが編集中ではありません。"));
    row.values[field] = value;
    emit rowChanged(int(current_));
}

const QVariant& DataSet::valueAt(int row, int field) const
{
    return std::as_const(rows_[row]->values)[field];
}

void DataSet::edit()
{
    DataSetRow& row = currentRow();
    if (state_ != State::Browse)
        return;
    editBackup_ = row.values;
    setState(State::Edit);
}

void DataSet::insertRowAt(qsizetype position)
{
    auto row = std::make_shared<DataSetRow>();
    row->values.resize(fieldNames_.size());
    emit rowAboutToBeInserted(int(position));
    rows_.insert(rows_.begin() + position, std::move(row));
    renumberFrom(position);
    current_ = position;
    bof_ = eof_ = false;
    emit rowInserted(int(position));
    emit currentChanged(int(position));
}

void DataSet::removeRowAt(qsizetype position)
{
    emit rowAboutToBeRemoved(int(position));
    rows_.erase(rows_.begin() + position);
    renumberFrom(position);
    current_ = std::min(position, qsizetype(rows_.size()) - 1);
    bof_ = eof_ = rows_.empty();
    emit rowRemoved(int(position));
    emit currentChanged(int(current_));
}

void DataSet::renumberFrom(qsizetype position)
{
    for (qsizetype i = position; i < qsizetype(rows_.size()); ++i)
        rows_[i]->position = i;
}

void DataSet::insert()
{
    requireOpen();
    checkBrowseMode();
    insertRowAt(std::max<qsizetype>(current_, 0));
    setState(State::Insert);
}

void DataSet::append()
{
    requireOpen();
    checkBrowseMode();
    insertRowAt(qsizetype(rows_.size()));
    setState(State::Insert);
}

void DataSet::post()
{
    if (state_ != State::Edit && state_ != State::Insert)
        return;
    const RowPtr& row = rows_[current_];
    if (state_ == State::Edit && row->values == editBackup_) {
        // An edit that changed nothing is no change: nothing to write or hold.
        setState(State::Browse);
        return;
    }
    if (state_ == State::Insert)
        writeInserted(row);
    else
        writeUpdated(row);
    setState(State::Browse);
    emit rowChanged(int(current_));
}

void DataSet::cancel()
{
    if (state_ == State::Insert) {
        setState(State::Browse);
        removeRowAt(current_);
    } else if (state_ == State::Edit) {
        rows_[current_]->values = editBackup_;
        setState(State::Browse);
        emit rowChanged(int(current_));
    }
}

void DataSet::remove()
{
    requireRows();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    cancel();
    writeRemoved(rows_[current_]);
    removeRowAt(current_);
}

void DataSet::writeInserted(const RowPtr& row)
{
    if (writeBack_ == WriteBack::Cached)
        addPending(row, DataSetRow::Pending::Insert);
    else
        writer_.insert(*row, settings_);
}

void DataSet::writeUpdated(const RowPtr& row)
{
    if (writeBack_ == WriteBack::Cached) {
        addPending(row, DataSetRow::Pending::Update);
        return;
    }
    const QList<QVariant> before = row->stored;
    writer_.update(*row, settings_);
    if (inWriteBatch_)
        batchWritten_.emplace_back(row, before);
}

void DataSet::beginWriteBatch()
{
    if (writeBack_ != WriteBack::Immediate || inWriteBatch_)
        return;
    writer_.beginBatch();
    inWriteBatch_ = true;
    batchWritten_.clear();
}

void DataSet::endWriteBatch()
{
    if (!inWriteBatch_)
        return;
    inWriteBatch_ = false;
    auto written = std::move(batchWritten_);
    batchWritten_.clear();
    try {
        writer_.endBatch();
    } catch (...) {
        // Nothing of the batch reached the table: its rows show the table again.
        for (auto& [row, stored] : written) {
            row->stored = stored;
            row->values = stored;
            const auto at = std::find(rows_.begin(), rows_.end(), row);
            if (at != rows_.end())
                emit rowChanged(int(at - rows_.begin()));
        }
        throw;
    }
}

void DataSet::writeRemoved(const RowPtr& row)
{
    if (writeBack_ == WriteBack::Immediate) {
        writer_.remove(*row, settings_);
    } else if (row->pending == DataSetRow::Pending::Insert) {
        dropPending(row); // never reached the table
    } else {
        addPending(row, DataSetRow::Pending::Delete);
    }
}

void DataSet::addPending(const RowPtr& row, DataSetRow::Pending kind)
{
    // A held change keeps the settings it was posted with; a row held as an
    // insert stays one insert however often it is edited.
    if (row->pending == DataSetRow::Pending::None) {
        pending_.push_back(row);
        row->pending = kind;
        row->pendingSettings = settings_;
    } else if (kind == DataSetRow::Pending::Delete) {
        row->pending = kind;
        row->pendingSettings = settings_;
    }
}

void DataSet::sendPending(DataSetRow& row)
{
    switch (row.pending) {
    case DataSetRow::Pending::Insert:
        writer_.insert(row, row.pendingSettings);
        break;
    case DataSetRow::Pending::Update:
        writer_.update(row, row.pendingSettings);
        break;
    case DataSetRow::Pending::Delete:
        writer_.remove(row, row.pendingSettings);
        break;
    case DataSetRow::Pending::None:
        break;
    }
}

void DataSet::dropPending(const RowPtr& row)
{
    row->pending = DataSetRow::Pending::None;
    std::erase(pending_, row);
}

void DataSet::applyUpdates()
{
    requireOpen();
    checkBrowseMode();
    if (pending_.empty())
        return;
    struct Sent
    {
        RowPtr row;
        QList<QVariant> stored;
        DataSetRow::Pending kind;
    };
    std::vector<Sent> sent;
    std::vector<RowPtr> failed;
    QStringList errors;
    writer_.beginBatch();
    for (const RowPtr& row : pending_) {
        const DataSetRow::Pending kind = row->pending;
        const QList<QVariant> stored = row->stored;
        try {
            sendPending(*row);
            row->pending = DataSetRow::Pending::None;
            sent.push_back({row, stored, kind});
        } catch (const SkelvoError& error) {
            errors.append(error.message());
            failed.push_back(row);
        }
    }
    try {
        writer_.endBatch();
    } catch (...) {
        // Nothing reached the table: every change stays held as it was.
        for (Sent& change : sent) {
            change.row->stored = change.stored;
            change.row->pending = change.kind;
        }
        throw;
    }
    pending_ = std::move(failed);
    if (!errors.isEmpty())
        throw SkelvoError(errors.join('\n'));
}

void DataSet::cancelUpdates()
{
    if (!isOpen())
        return;
    cancel();
    if (pending_.empty())
        return;
    const RowPtr current = current_ >= 0 ? rows_[current_] : nullptr;
    const std::vector<RowPtr> held = std::exchange(pending_, {});
    // One pass over the rows, however many changes were held.
    QSet<const DataSetRow*> unsaved;
    std::vector<RowPtr> deleted;
    for (const RowPtr& row : held) {
        const DataSetRow::Pending kind = row->pending;
        row->pending = DataSetRow::Pending::None;
        row->values = row->stored;
        if (kind == DataSetRow::Pending::Insert)
            unsaved.insert(row.get());
        else if (kind == DataSetRow::Pending::Delete)
            deleted.push_back(row); // no longer among the rows
    }
    std::erase_if(rows_, [&](const RowPtr& row) { return unsaved.contains(row.get()); });
    for (const RowPtr& row : deleted)
        rows_.insert(rows_.begin() + std::min(row->position, qsizetype(rows_.size())), row);
    renumberFrom(0);
    const auto stays = std::find(rows_.begin(), rows_.end(), current);
    current_ = stays != rows_.end() ? stays - rows_.begin()
                                    : std::min(current_, qsizetype(rows_.size()) - 1);
    if (current_ < 0 && !rows_.empty())
        current_ = 0;
    bof_ = eof_ = rows_.empty();
    emit rowsReset();
    emit currentChanged(int(current_));
}

DataSet::Bookmark DataSet::bookmark() const
{
    if (!isOpen() || current_ < 0)
        return {};
    return rows_[current_];
}

bool DataSet::bookmarkValid(const Bookmark& bookmark) const
{
    const RowPtr row = bookmark.lock();
    return row && row->position < qsizetype(rows_.size()) && rows_[row->position] == row;
}

void DataSet::gotoBookmark(const Bookmark& bookmark)
{
    requireOpen();
    checkBrowseMode();
    if (!bookmarkValid(bookmark))
        throw SkelvoError(QStringLiteral("ブックマークの行が見つかりません。"));
    moveTo(bookmark.lock()->position);
    bof_ = eof_ = false;
}

void DataSet::disableControls()
{
    ++disableCount_;
}

void DataSet::enableControls()
{
    if (disableCount_ > 0 && --disableCount_ == 0)
        emit controlsEnabled();
}

void DataSet::setFieldFlags(QStringView name, FieldFlags flags)
{
    settings_.flags[fieldIndexOrRaise(name)] = flags;
}

FieldFlags DataSet::fieldFlags(QStringView name) const
{
    return settings_.flags[fieldIndexOrRaise(name)];
}
