#include "data/row_writer.h"

#include "core/error.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <optional>

namespace {

// Bounds the statements kept prepared on the server; a recalculation uses
// only a handful of shapes.
constexpr qsizetype MaxPreparedQueries = 64;

// The character the connection's driver quotes names with, as it shows in
// its quoting of a plain name: '`' for a MySQL server, what an ODBC data
// source reports, '"' for the folder store. None when it quotes none.
std::optional<QChar> quoteCharacter(const QSqlDriver& driver)
{
    const QString probe = driver.escapeIdentifier(QStringLiteral("x"), QSqlDriver::TableName);
    if (probe.size() != 3 || probe[1] != u'x' || probe[0] != probe[2] || probe[0].isSpace() ||
        probe[0].isLetterOrNumber())
        return std::nullopt;
    return probe[0];
}

} // namespace

QString sqlTableName(QSqlDatabase db, const QString& table)
{
    if (table.isEmpty() || isPlainName(table))
        return table;
    // The ODBC driver asks the data source for its quote character once,
    // and settles on '"' for good when the connection is closed then.
    if (!db.isOpen() && !db.open())
        throw SkelvoError(
            QStringLiteral("データベースに接続できません: %1").arg(errorText(db.lastError())));
    // Not the driver's quoting of the whole name: the drivers leave a name
    // that starts or ends with the quote character as it stands, split it at
    // a dot as database and table, or keep a quote character inside single,
    // and each way the name reaches another table.
    const std::optional<QChar> quote = quoteCharacter(*db.driver());
    if (!quote)
        throw SkelvoError(
            QStringLiteral("テーブル名「%1」は使えません。このデータベースでは、半角の"
                           "英字、数字と _ だけの名前のテーブルしか開けません。")
                .arg(table));
    return quotedName(table, *quote);
}

void RowWriter::reset(const QString& connectionName, const QString& table,
                      const QStringList& fieldNames)
{
    connectionName_ = connectionName;
    table_ = table;
    sqlTable_ = sqlTableName(database(), table);
    preparedQueries_.clear();
    fields_ = fieldNames;
    setIdentityField(identityName_);
    limits_ = dialect_.textLimits ? dialect_.textLimits(database(), table) : TextLimits();
    textLimits_.clear();
    for (const QString& field : fieldNames)
        textLimits_.append(limits_.value(field.toLower()));
}

void RowWriter::setDialect(StoreDialect dialect)
{
    dialect_ = std::move(dialect);
    values_ = StatementValues(dialect_.literal);
    preparedQueries_.clear();
}

void RowWriter::setIdentityField(const QString& name)
{
    identityName_ = name;
    identityField_ = -1;
    for (int i = 0; i < fields_.size() && !name.isEmpty(); ++i) {
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0)
            identityField_ = i;
    }
}

QSqlDatabase RowWriter::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

// The store's own row number identifies a row even when two rows share
// their ordering keys; 0 stands for "not yet assigned".
bool RowWriter::knowsIdentity(const DataSetRow& row) const
{
    if (identityField_ < 0 || !row.inStore())
        return false;
    const QVariant& identity = row.stored[identityField_];
    return identity.isValid() && !identity.isNull() && identity.toLongLong() != 0;
}

RowWriter::Statement RowWriter::whereClause(const DataSetRow& row, const WriteSettings& settings,
                                            const RowName& rowName) const
{
    QList<int> fields;
    if (knowsIdentity(row)) {
        fields.append(identityField_);
    } else {
        for (int i = 0; i < fields_.size(); ++i) {
            const FieldFlags flags = settings.flags[i];
            const bool changed = row.values[i] != row.stored[i];
            const bool use = settings.whereMode == WhereMode::All ? flags.inWhere
                             : settings.whereMode == WhereMode::KeyOnly
                                 ? flags.inKey
                                 : flags.inKey || (changed && flags.inWhere);
            // A value the table chose itself cannot be named.
            if (use && row.stored[i].isValid())
                fields.append(i);
        }
    }
    if (fields.isEmpty())
        raise(rowName, QStringLiteral("行を特定する列が指定されていません。"));

    Statement where;
    QStringList terms;
    for (int i : fields) {
        terms.append(row.stored[i].isNull()
                         ? fields_[i] + QStringLiteral(" IS NULL")
                         : fields_[i] + QStringLiteral(" = ") + valueText(where, row.stored[i]));
    }
    where.sql = QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    where.byIdentity = knowsIdentity(row);
    return where;
}

QString RowWriter::describe(const DataSetRow& row, const WriteSettings& settings) const
{
    const QList<QVariant>& values = row.inStore() ? row.stored : row.values;
    QStringList parts;
    for (int i = 0; i < fields_.size(); ++i) {
        if ((i == identityField_ && knowsIdentity(row)) || settings.flags[i].inKey)
            parts.append(fields_[i] + '=' + values[i].toString());
    }
    return parts.join(QStringLiteral(", "));
}

void RowWriter::raise(const RowName& rowName, const QString& reason) const
{
    throw SkelvoError(QStringLiteral("%1 テーブルの行 (%2): %3").arg(table_, rowName(), reason));
}

QString RowWriter::valueText(Statement& statement, const QVariant& value) const
{
    return values_.place(statement.values, value);
}

QSqlQuery& RowWriter::prepared(const QString& sql)
{
    auto found = preparedQueries_.find(sql);
    if (found != preparedQueries_.end())
        return *found;
    if (preparedQueries_.size() >= MaxPreparedQueries)
        preparedQueries_.clear();
    QSqlQuery query(database());
    if (!query.prepare(sql))
        throw SkelvoError(QStringLiteral("%1 テーブルへの書き込みを準備できません: %2")
                              .arg(table_, errorText(query.lastError())));
    return *preparedQueries_.insert(sql, query);
}

QSqlQuery& RowWriter::run(const Statement& statement, const RowName& rowName)
{
    if (values_.asLiterals()) {
        literalQuery_ = QSqlQuery(database());
        if (!literalQuery_.exec(statement.sql))
            raise(rowName, errorText(literalQuery_.lastError()));
        return literalQuery_;
    }
    QSqlQuery& query = prepared(statement.sql);
    for (int i = 0; i < statement.values.size(); ++i)
        query.bindValue(i, bindable(statement.values[i]));
    if (!query.exec())
        raise(rowName, errorText(query.lastError()));
    return query;
}

void RowWriter::runPlain(const QString& sql)
{
    QSqlQuery query(database());
    if (!query.exec(sql))
        throw SkelvoError(
            QStringLiteral("%1 テーブル: %2").arg(table_, errorText(query.lastError())));
}

QSqlQuery& RowWriter::runExactlyOne(const Statement& statement, const Statement& where,
                                    const RowName& rowName)
{
    QSqlDatabase db = database();
    if (!db.isOpen() && !db.open())
        raise(rowName, errorText(db.lastError()));
    const bool transactions = db.driver()->hasFeature(QSqlDriver::Transactions);

    if (!transactions && !where.sql.isEmpty()) {
        // Without a transaction to undo a wrong count, count first.
        QSqlQuery& count =
            run({QStringLiteral("SELECT COUNT(*) FROM ") + sqlTable_ + where.sql, where.values},
                rowName);
        const qlonglong found = count.next() ? count.value(0).toLongLong() : -1;
        count.finish();
        if (found != 1)
            raise(rowName,
                  found == 0
                      ? QStringLiteral("行が見つかりません。")
                      : QStringLiteral("同じ値の行が %1 行あるため、書き込めません。").arg(found));
    }

    // Within a batch only a statement that could touch several rows needs a
    // savepoint to undo it alone: one that the store refuses undoes itself,
    // and one that touches no row has nothing to undo.
    const bool mayTouchSeveral = !where.sql.isEmpty() && !where.byIdentity;
    const bool savepoint = inBatch_ && transactions && mayTouchSeveral;
    if (savepoint)
        runPlain(QStringLiteral("SAVEPOINT skelvo_row"));
    else if (!inBatch_ && transactions && !db.transaction())
        raise(rowName, errorText(db.lastError()));
    const auto undo = [&] {
        if (savepoint)
            runPlain(QStringLiteral("ROLLBACK TO SAVEPOINT skelvo_row"));
        else if (!inBatch_ && transactions)
            db.rollback();
    };

    QSqlQuery* query = nullptr;
    try {
        query = &run({statement.sql + where.sql, statement.values + where.values}, rowName);
    } catch (...) {
        undo();
        throw;
    }
    const int affected = query->numRowsAffected();
    if (affected != 1) {
        undo();
        raise(
            rowName,
            affected == 0
                ? QStringLiteral("行が見つかりません。ほかで変更または削除された可能性があります。")
                : QStringLiteral("%1 行が該当したため、書き込みを取り消しました。").arg(affected));
    }
    if (!inBatch_ && transactions && !db.commit())
        raise(rowName, errorText(db.lastError()));
    return *query;
}

void RowWriter::takeStoredForm(DataSetRow& row, const WriteSettings& settings) const
{
    if (!dialect_.storedForm)
        return;
    for (int i = 0; i < fields_.size(); ++i) {
        if (!settings.flags[i].inUpdate)
            continue;
        const QVariant& value = std::as_const(row.values)[i];
        QVariant kept = dialect_.storedForm(value);
        if (kept != value)
            row.values[i] = std::move(kept);
    }
}

QString RowWriter::writtenValueText(Statement& statement, int field, const DataSetRow& row,
                                    const WriteSettings& settings) const
{
    const QVariant& value = row.values[field];
    if (const QString problem = unstorableValueProblem(fields_[field], value, textLimits_[field]);
        !problem.isEmpty())
        raise([&] { return describe(row, settings); }, problem);
    return valueText(statement, value);
}

QVariant RowWriter::insertedIdentity(const QSqlQuery& query) const
{
    if (dialect_.insertedIdentity)
        return dialect_.insertedIdentity(database());
    // Asked only of a driver that can tell, so none complains for each row.
    if (database().driver()->hasFeature(QSqlDriver::LastInsertId))
        return query.lastInsertId();
    return {};
}

void RowWriter::insert(DataSetRow& row, const WriteSettings& settings)
{
    takeStoredForm(row, settings);
    QStringList columns, marks;
    Statement statement;
    QList<QVariant> stored(fields_.size());
    const QList<QVariant>& values = row.values;
    for (int i = 0; i < fields_.size(); ++i) {
        // Unset values are left to the table's defaults.
        if (!settings.flags[i].inUpdate || values[i].isNull())
            continue;
        columns.append(fields_[i]);
        marks.append(writtenValueText(statement, i, row, settings));
        stored[i] = values[i];
    }
    statement.sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(sqlTable_, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    const QSqlQuery& query = runExactlyOne(statement, {}, [&] { return describe(row, settings); });
    if (identityField_ >= 0) {
        const QVariant identity = insertedIdentity(query);
        if (identity.isValid() && !identity.isNull()) {
            row.values[identityField_] = identity;
            stored[identityField_] = identity;
        }
    }
    row.stored = stored;
    row.settle();
}

void RowWriter::update(DataSetRow& row, const WriteSettings& settings)
{
    takeStoredForm(row, settings);
    Statement statement;
    const QList<QVariant>& values = row.values;
    const QList<QVariant>& stored = row.stored;
    QList<int> changed;
    statement.sql = QStringLiteral("UPDATE ") + sqlTable_ + QStringLiteral(" SET ");
    for (int i = 0; i < fields_.size(); ++i) {
        if (!settings.flags[i].inUpdate || values[i] == stored[i])
            continue;
        if (!changed.isEmpty())
            statement.sql += QStringLiteral(", ");
        changed.append(i);
        statement.sql += fields_[i];
        statement.sql += QStringLiteral(" = ");
        statement.sql += writtenValueText(statement, i, row, settings);
    }
    if (!changed.isEmpty()) {
        const RowName rowName = [&] { return describe(row, settings); };
        runExactlyOne(statement, whereClause(row, settings, rowName), rowName);
    }
    for (int i : std::as_const(changed))
        row.stored[i] = values[i];
    row.settle();
}

void RowWriter::remove(const DataSetRow& row, const WriteSettings& settings)
{
    const RowName rowName = [&] { return describe(row, settings); };
    runExactlyOne({QStringLiteral("DELETE FROM ") + sqlTable_, {}},
                  whereClause(row, settings, rowName), rowName);
}

void RowWriter::beginBatch()
{
    QSqlDatabase db = database();
    if (!db.isOpen() && !db.open())
        throw SkelvoError(QStringLiteral("%1 テーブル: %2").arg(table_, errorText(db.lastError())));
    inBatch_ = db.driver()->hasFeature(QSqlDriver::Transactions) && db.transaction();
}

void RowWriter::endBatch()
{
    if (!inBatch_)
        return;
    inBatch_ = false;
    QSqlDatabase db = database();
    if (!db.commit())
        throw SkelvoError(QStringLiteral("%1 テーブル: %2").arg(table_, errorText(db.lastError())));
}
