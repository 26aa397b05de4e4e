#pragma once

#include "data/data_set_row.h"
#include "data/field_flags.h"
#include "data/row_writer.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The rows of one query, held in memory, with a current row that the
// program moves through and edits. A posted or deleted row is written back
// to the table at once, or, in cached mode, held until applyUpdates().
class DataSet : public QObject
{
    Q_OBJECT

public:
    enum class State
    {
        Inactive,
        Browse,
        Edit,
        Insert,
    };
    enum class WriteBack
    {
        Immediate,
        Cached,
    };
    // Names a row so that it can be found again after rows are inserted or
    // deleted before it.
    using Bookmark = std::weak_ptr<DataSetRow>;

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    void setConnectionName(const QString& name) { connectionName_ = name; }
    const QString& connectionName() const { return connectionName_; }
    void setWriteBack(WriteBack mode) { writeBack_ = mode; }
    WriteBack writeBack() const { return writeBack_; }
    // The query; the columns named in textAsBytes are read as their UTF-8
    // bytes and held as text.
    void setCommandText(const QString& sql, const QStringList& textAsBytes = {})
    {
        commandText_ = sql;
        textAsBytes_ = textAsBytes;
    }
    const QString& commandText() const { return commandText_; }
    // The table that posted rows go to.
    void setUpdateTable(const QString& table) { updateTable_ = table; }
    // A column numbered by the store: a row that has a number is found by
    // it alone when written back.
    void setIdentityField(const QString& name) { writer_.setIdentityField(name); }
    void setDialect(StoreDialect dialect) { writer_.setDialect(std::move(dialect)); }
    // How much text each column of the update table holds, by lower-case
    // name, as the store told when the row-set opened; empty where it cannot.
    const TextLimits& textLimits() const { return writer_.textLimits(); }

    // Runs the command text and loads its rows; the first row is current.
    void open();
    // Sends held changes first: a close never drops them.
    void close();
    bool isOpen() const { return state_ != State::Inactive; }
    // Runs a statement that returns no rows; it becomes the command text.
    void execute(const QString& statement);

    void first();
    void last();
    void next();
    void prior();
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    int recNo() const; // 1-based; 0 when there is no row
    void setRecNo(int recNo);
    int recordCount() const { return int(rows_.size()); }
    bool isEmpty() const { return rows_.empty(); }

    int fieldCount() const { return int(fieldNames_.size()); }
    const QStringList& fieldNames() const { return fieldNames_; }
    int fieldIndex(QStringView name) const; // -1 when unknown
    QVariant value(QStringView name) const;
    QString asString(QStringView name) const;
    int asInteger(QStringView name) const;
    bool asBoolean(QStringView name) const;
    void setValue(QStringView name, const QVariant& value);
    // Reads any row without moving to it (for grids). The value stays
    // valid until the row-set changes.
    const QVariant& valueAt(int row, int field) const;

    State state() const { return state_; }
    void edit();
    void insert();
    void append();
    void post();
    void cancel();
    void remove();

    Bookmark bookmark() const;
    bool bookmarkValid(const Bookmark& bookmark) const;
    void gotoBookmark(const Bookmark& bookmark);

    // Nested: bound controls follow again when the outermost enable comes.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

    void setFieldFlags(QStringView name, FieldFlags flags);
    FieldFlags fieldFlags(QStringView name) const;
    void setWhereMode(WhereMode mode) { settings_.whereMode = mode; }
    WhereMode whereMode() const { return settings_.whereMode; }

    // Cached mode: changes not yet sent, and sending them all. Every change
    // is tried; the failures are reported together and stay pending.
    int changeCount() const { return int(pending_.size()); }
    void applyUpdates();
    // Cached mode: drops every held change unsent, the row being typed
    // included; each row shows what the table holds again (a held new row
    // goes, a held deletion comes back where it stood).
    void cancelUpdates();

    // Immediate mode: the rows written between these share one transaction
    // where the store has them. A row the store refuses raises as always,
    // the rows before it staying; ending the batch keeps them, and when the
    // store cannot, those rows go back to what the table holds and the end
    // raises. Nested calls and cached mode do nothing.
    void beginWriteBatch();
    void endWriteBatch();

signals:
    void rowsReset();                   // opened, closed or re-read: anything may differ
    void rowAboutToBeInserted(int row); // 0-based
    void rowInserted(int row);
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row); // values of one row
    void currentChanged(int row);
    void stateChanged();
    void controlsEnabled(); // the outermost enableControls()

private:
    using RowPtr = std::shared_ptr<DataSetRow>;

    // Reads go through the const row: a read must not detach the values the
    // row shares with its stored copy.
    const DataSetRow& currentRow() const;
    DataSetRow& currentRow();
    int fieldIndexOrRaise(QStringView name) const;
    void requireOpen() const;
    void requireRows() const;
    void checkBrowseMode(); // posts a pending edit before a move
    void moveTo(qsizetype row);
    void setState(State state);
    void insertRowAt(qsizetype position);
    void removeRowAt(qsizetype position);
    void renumberFrom(qsizetype position);
    void writeInserted(const RowPtr& row);
    void writeUpdated(const RowPtr& row);
    void writeRemoved(const RowPtr& row);
    void addPending(const RowPtr& row, DataSetRow::Pending kind);
    void sendPending(DataSetRow& row);
    void dropPending(const RowPtr& row);
    void loadRows();

    QString connectionName_;
    QString commandText_;
    QStringList textAsBytes_;
    QString updateTable_;
    WriteBack writeBack_ = WriteBack::Immediate;
    State state_ = State::Inactive;
    QStringList fieldNames_;
    QStringList lowerNames_;
    // Over lowerNames_, so that a name is found without making a string of it.
    QHash<QStringView, int> fieldByName_;
    // The code names columns by the same texts over and over, row after row:
    // by where the text lies, checked against the name found there before.
    mutable QHash<const QChar*, int> fieldByAddress_;
    std::vector<RowPtr> rows_;
    std::vector<RowPtr> pending_;
    qsizetype current_ = -1;
    bool bof_ = true;
    bool eof_ = true;
    QList<QVariant> editBackup_;
    int disableCount_ = 0;
    WriteSettings settings_;
    RowWriter writer_;
    bool inWriteBatch_ = false;
    std::vector<std::pair<RowPtr, QList<QVariant>>> batchWritten_; // row, stored before
};
