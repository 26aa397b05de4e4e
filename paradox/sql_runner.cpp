#include "paradox/sql_runner.h"

#include "core/error.h"
#include "paradox/sql_condition.h"
#include "paradox/sql_table_cache.h"
#include "paradox/sql_transaction.h"

#include <algorithm>

namespace paradox::sql {
namespace {

// Paradox 7 tables from Japanese Windows hold their text in this code page.
constexpr int TableCodePage = 932;

// The fields a statement names, each once, by position in the table.
QList<int> namedFields(const QStringList& names, const CachedTable& table)
{
    QList<int> indexes;
    for (const QString& name : names) {
        const int index = requireField(table.table.fields(), name, table.name);
        if (indexes.contains(index))
            throw SkelvoError(QStringLiteral("列 %1 が二度指定されています。").arg(name));
        indexes.append(index);
    }
    return indexes;
}

int autoIncrementField(const QList<Field>& fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].type == FieldType::AutoIncrement)
            return i;
    }
    return -1;
}

struct SortKey
{
    int field;
    ValueClass valueClass;
    bool descending;
};

// Stable, by typed values; nulls count lowest, so they lead an ascending
// order and end a descending one.
void sortRecords(QList<const Record*>& records, const QList<SortKey>& keys)
{
    std::stable_sort(records.begin(), records.end(), [&](const Record* a, const Record* b) {
        for (const SortKey& key : keys) {
            const int order =
                orderValues(a->values[key.field], b->values[key.field], key.valueClass);
            if (order != 0)
                return key.descending ? order > 0 : order < 0;
        }
        return false;
    });
}

class Runner
{
public:
    Runner(TableCache& cache, Transaction& transaction) : cache_(cache), transaction_(transaction)
    {}

    QueryResult operator()(const SelectStatement& statement) const
    {
        CachedTable& table = cache_.table(statement.table);
        const QList<Field>& fields = table.table.fields();
        const RowFilter filter(statement.where, fields, table.name);
        QList<SortKey> keys;
        for (const OrderKey& key : statement.orderBy) {
            const int field = requireField(fields, key.column, table.name);
            keys.append({field, valueClass(fields[field].type), key.descending});
        }
        QList<int> projection;
        for (const QString& column : statement.columns)
            projection.append(requireField(fields, column, table.name));

        QList<const Record*> matched;
        for (qsizetype row : matchingRows(table, filter))
            matched.append(&std::as_const(table.records)[row]);
        QueryResult result;
        result.isSelect = true;
        if (statement.countRows) {
            result.columns = {Field{QStringLiteral("COUNT(*)"), FieldType::Long, 4}};
            result.rows = {Row{int(matched.size())}};
            return result;
        }
        sortRecords(matched, keys);
        if (projection.isEmpty()) {
            result.columns = fields;
            for (const Record* record : std::as_const(matched))
                result.rows.append(record->values);
            return result;
        }
        for (int field : std::as_const(projection))
            result.columns.append(fields[field]);
        for (const Record* record : std::as_const(matched)) {
            Row row;
            row.reserve(projection.size());
            for (int field : std::as_const(projection))
                row.append(record->values[field]);
            result.rows.append(row);
        }
        return result;
    }

    QueryResult operator()(const InsertStatement& statement) const
    {
        CachedTable& table = cache_.table(statement.table);
        table.table.checkWritable();
        const QList<Field>& fields = table.table.fields();
        QList<int> targets = namedFields(statement.columns, table);
        if (statement.columns.isEmpty()) {
            if (statement.values.size() != fields.size())
                throw SkelvoError(
                    QStringLiteral("テーブル %1 の列は %2 個ですが、値が %3 個あります。")
                        .arg(table.name, QString::number(fields.size()),
                             QString::number(statement.values.size())));
            for (int i = 0; i < fields.size(); ++i)
                targets.append(i);
        }
        // Unnamed fields stay null; the table numbers its AutoIncrement field.
        Row row(fields.size());
        for (int i = 0; i < targets.size(); ++i) {
            const Field& field = fields[targets[i]];
            const QVariant value = storedValue(statement.values[i], field);
            if (field.type == FieldType::AutoIncrement) {
                if (value.isValid() && value.toLongLong() != 0)
                    throw SkelvoError(
                        QStringLiteral("列 %1 はテーブルが番号を付けるため、値を入れられません。")
                            .arg(field.name));
                continue;
            }
            row[targets[i]] = value;
        }
        const RecordPosition position = writing(table, [&] { return table.table.append(row); });
        cache_.appended(table, position, row);

        QueryResult result;
        result.rowsAffected = 1;
        if (const int counter = autoIncrementField(fields); counter >= 0)
            result.lastInsertId = row[counter];
        return result;
    }

    // Counts every row that matches, also one whose values stay the same.
    QueryResult operator()(const UpdateStatement& statement) const
    {
        CachedTable& table = cache_.table(statement.table);
        table.table.checkWritable();
        const QList<Field>& fields = table.table.fields();
        QStringList columns;
        for (const Assignment& assignment : statement.assignments)
            columns.append(assignment.column);
        const QList<int> targets = namedFields(columns, table);
        QList<QVariant> values;
        for (int i = 0; i < targets.size(); ++i) {
            const Field& field = fields[targets[i]];
            if (field.type == FieldType::AutoIncrement)
                throw SkelvoError(
                    QStringLiteral("列 %1 はテーブルが付けた番号のため、変更できません。")
                        .arg(field.name));
            values.append(storedValue(statement.assignments[i].value, field));
        }
        const RowFilter filter(statement.where, fields, table.name);

        const QList<qsizetype> matched = matchingRows(table, filter);
        writing(table, [&] {
            for (qsizetype i : matched) {
                Row row = table.records[i].values;
                for (int j = 0; j < targets.size(); ++j)
                    row[targets[j]] = values[j];
                if (row == table.records[i].values)
                    continue;
                // The copy is the file: its lock has been held since the copy was checked.
                table.table.update(table.records[i].position, row, &table.records[i].values);
                cache_.updated(table, i, std::move(row), targets);
            }
            return 0;
        });
        QueryResult result;
        result.rowsAffected = int(matched.size());
        return result;
    }

    QueryResult operator()(const DeleteStatement& statement) const
    {
        CachedTable& table = cache_.table(statement.table);
        table.table.checkWritable();
        const RowFilter filter(statement.where, table.table.fields(), table.name);
        QList<RecordPosition> positions;
        for (qsizetype row : matchingRows(table, filter))
            positions.append(table.records[row].position);
        if (!positions.isEmpty()) {
            writing(table, [&] {
                table.table.remove(positions);
                return 0;
            });
            cache_.rewritten(table);
        }
        QueryResult result;
        result.rowsAffected = int(positions.size());
        return result;
    }

    // Found by name only, so that a table too damaged to read can be dropped.
    QueryResult operator()(const DropTableStatement& statement) const
    {
        transaction_.refuseDefinition();
        const QString path = cache_.existingPath(statement.table);
        cache_.forget(path);
        Table::drop(path);
        return definitionResult();
    }

    QueryResult operator()(const CreateTableStatement& statement) const
    {
        transaction_.refuseDefinition();
        Table::create(cache_.newTablePath(statement.table), statement.fields, TableCodePage);
        return definitionResult();
    }

    // The folder store keeps no secondary index files: every statement reads
    // the whole table, so an index would only have to be kept up to date.
    // The statement is checked against the table and leaves the files as
    // they are.
    QueryResult operator()(const CreateIndexStatement& statement) const
    {
        const CachedTable& table = cache_.table(statement.table);
        for (const QString& column : statement.columns)
            requireField(table.table.fields(), column, table.name);
        return definitionResult();
    }

    QueryResult operator()(const SavepointStatement& statement) const
    {
        if (statement.rollBack)
            transaction_.rollBackTo(statement.name);
        else
            transaction_.savepoint(statement.name);
        return definitionResult();
    }

private:
    // The places of the matching records, in table order. A condition that
    // fixes an integer field is looked up in that field's index rather than
    // tested on every row.
    QList<qsizetype> matchingRows(CachedTable& table, const RowFilter& filter) const
    {
        QList<qsizetype> rows;
        const std::optional<RowFilter::Equality> equality = filter.requiredEquality();
        if (equality) {
            for (qsizetype row : cache_.index(table, equality->field).rows(equality->value)) {
                if (filter.matches(table.records[row].values))
                    rows.append(row);
            }
            return rows;
        }
        for (qsizetype row = 0; row < table.records.size(); ++row) {
            if (filter.matches(table.records[row].values))
                rows.append(row);
        }
        return rows;
    }

    static QueryResult definitionResult()
    {
        QueryResult result;
        result.rowsAffected = 0;
        return result;
    }

    // A write joins the open transaction. Without one, the statement is a
    // transaction of its own: a statement that writes many rows counts
    // whole or not at all, and its files are synced once. A write that
    // fails leaves the copy in doubt: the next statement reads the table
    // again.
    template <typename Write>
    auto writing(CachedTable& table, Write write) const -> decltype(write())
    {
        const bool ownTransaction = !transaction_.isOpen();
        bool locked = ownTransaction;
        if (ownTransaction)
            table.table.beginTransaction();
        else
            locked = transaction_.join(table);
        try {
            if (locked)
                cache_.requireUnchanged(table);
            auto result = write();
            if (ownTransaction) {
                table.table.commit();
                cache_.committed(table);
            }
            return result;
        } catch (...) {
            if (ownTransaction && table.table.inTransaction())
                rollBackLeavingTheJournal(table.table);
            cache_.invalidate(table);
            throw;
        }
    }

    // The error that stopped the write is the one to report; should the
    // rollback fail too, the journal stays and the next opening of the
    // table rolls it back.
    static void rollBackLeavingTheJournal(Table& table)
    {
        try {
            table.rollBack();
        } catch (const SkelvoError&) {
        }
    }

    TableCache& cache_;
    Transaction& transaction_;
};

} // namespace

QueryResult runStatement(TableCache& cache, Transaction& transaction, const Statement& statement)
{
    return std::visit(Runner(cache, transaction), statement);
}

} // namespace paradox::sql
