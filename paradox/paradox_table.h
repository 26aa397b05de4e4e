#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

// Paradox table files (.DB, with memo text in a .MB file beside them): the
// folder store keeps one per aircraft, and tables from other Paradox-based
// programs must open unchanged. Errors are raised as SkelvoError with a text
// that says which file and what is wrong.
namespace paradox {

enum class FieldType : quint8
{
    Alpha = 0x01,
    Date = 0x02,
    Short = 0x03,
    Long = 0x04,
    Currency = 0x05,
    Number = 0x06,
    Logical = 0x09,
    Memo = 0x0C,
    Blob = 0x0D,
    FormattedMemo = 0x0E,
    Ole = 0x0F,
    Graphic = 0x10,
    Time = 0x14,
    Timestamp = 0x15,
    AutoIncrement = 0x16,
    Bcd = 0x17,
    Bytes = 0x18,
};

struct Field
{
    QString name;
    FieldType type = FieldType::Alpha;
    int size = 0; // bytes in the record (Alpha: its width; Memo: leader + 10; Bcd: 17)
};

// Values travel as QVariant: a null value is QVariant() (invalid). Alpha and
// memo fields hold QString; Short, Long and AutoIncrement qint32 (int);
// Number and Currency double; Bcd QString (its decimal digits, exact);
// Logical bool; Date QDate; Time QTime; Timestamp QDateTime; Bytes, Blob,
// Ole and Graphic QByteArray.
using Row = QList<QVariant>;

// Where a record lives in its file, so that it can be changed in place.
using RecordPosition = qint64;

struct Record
{
    RecordPosition position = 0;
    Row values;
};

struct TableInfo
{
    int formatVersion = 0; // 30, 35, 40, 50 or 70
    bool keyed = false;    // has a primary index (.PX) kept in key order
    bool encrypted = false;
    int codePage = 0;             // e.g. 437, 850, 932, 1252
    qint64 nextAutoIncrement = 0; // past qint32 once the numbers are used up
    int recordSize = 0;
    int blockSize = 0;
    qint32 recordCount = 0;
};

class Table
{
public:
    // Opens an existing table by the path of its .DB file (any letter case of
    // the extension). A write interrupted earlier is rolled back first. A
    // header whose counters disagree with the table's blocks is an error, as
    // a write would go where no read finds it.
    static Table open(const QString& path);

    // Creates a new, empty, non-keyed table in the format Paradox 7 writes,
    // with text in the given code page. Refuses a path that exists already.
    static Table create(const QString& path, const QList<Field>& fields, int codePage = 932);

    // Removes the table file and its companion files (.MB, .PX, .Xnn, .Ynn).
    static void drop(const QString& path);

    Table(Table&&) noexcept;
    Table& operator=(Table&&) noexcept;
    ~Table();

    const QString& path() const;
    const QList<Field>& fields() const;
    const TableInfo& info() const;

    // Every record in table order (the block chain, not the physical order).
    QList<Record> readAll() const;

    // Raises, before anything changes, when this table cannot be written
    // safely (keyed, encrypted, a field type this codec does not write),
    // saying why.
    void checkWritable() const;

    // The writes below keep the file whole at any moment: a crash leaves the
    // old table or the new one. Each holds a lock that keeps a second
    // program instance from writing the same table meanwhile. Values are
    // converted to the field's type; text longer than its field is refused,
    // naming the field and its width, and nothing is written.

    // Adds a record at the end of the last block without rewriting the file.
    // An AutoIncrement field takes the table's next number, which is written
    // back into the row. Returns the new record's position.
    RecordPosition append(Row& row);

    // Replaces one record's values in place. A value equal to the one the
    // record holds keeps its bytes. asRead: the record's values as a read
    // of the file gives them, when the caller holds them and nothing can
    // have changed the file since (a transaction's lock held from before
    // the read, or the caller's own writes followed); saves decoding the
    // record again.
    void update(RecordPosition position, const Row& row, const Row* asRead = nullptr);

    // The row as a read of the file gives it back once append() or update()
    // wrote it: text in the form the code page stores it. The second form
    // converts only the given fields, the others being as read.
    Row storedForm(const Row& row) const;
    void toStoredForm(Row& row, const QList<int>& fields) const;

    // Rewrites the table without the given records (through a temporary file
    // and an atomic rename).
    void remove(const QList<RecordPosition>& positions);

    // Makes the writes from here to commit() one change of the table. The
    // table's lock is held throughout, each write adds to one journal, and
    // only commit() makes the files durable: a crash before it has ended
    // leaves the table as it was before the transaction. Destroying the
    // table with a transaction open rolls it back.
    void beginTransaction();
    bool inTransaction() const;
    void commit();
    void rollBack();
    // A point of the open transaction to go back to without ending it;
    // going back drops the savepoints taken since. A savepoint keeps what
    // the writes after it change until it is released.
    int savepoint();
    void rollBackTo(int savepoint);
    void releaseSavepoint(int savepoint);

    // For tests: called between the steps of a write with a step name, so a
    // test can stop the writer there (by throwing) and check the file after.
    using StepHook = std::function<void(const char* step)>;
    static void setStepHook(StepHook hook);
    // For tests: called with a file's path each time a write has made what
    // it wrote to the file durable.
    using SyncHook = std::function<void(const QString& path)>;
    static void setSyncHook(SyncHook hook);
    // For tests: the bytes of changed pages a transaction holds in memory
    // before it writes them to the files ahead of its commit; 0 puts back
    // the program's own limit.
    static void setPendingLimit(qint64 bytes);

private:
    struct Data;
    explicit Table(std::unique_ptr<Data> data);
    std::unique_ptr<Data> d;
};

} // namespace paradox
