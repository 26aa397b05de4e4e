#include "data/bulk_insert.h"

#include "core/error.h"
#include "data/row_writer.h"

BulkInsert::BulkInsert(const QString& connectionName, const QString& table,
                       const QStringList& columns, const StoreDialect& dialect,
                       ExistingRows existing)
    : db_(QSqlDatabase::database(connectionName, false)), values_(dialect.literal),
      columns_(columns), existing_(existing)
{
    // A connection closed since its last use opens again with its last
    // parameters, as for the row-set.
    if (!db_.isOpen() && !db_.open())
        throw SkelvoError(
            QStringLiteral("データベースに接続できません: %1").arg(errorText(db_.lastError())));
    const QString sqlTable = sqlTableName(db_, table);
    const TextLimits limits = dialect.textLimits ? dialect.textLimits(db_, table) : TextLimits();
    for (const QString& column : columns)
        textLimits_.append(limits.value(column.toLower()));
    head_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (").arg(sqlTable, columns.join(u','));
    query_ = QSqlQuery(db_);
    if (!values_.asLiterals()) {
        QStringList marks(columns.size(), QStringLiteral("?"));
        if (!query_.prepare(head_ + marks.join(u',') + u')'))
            throw SkelvoError(QStringLiteral("%1 テーブルへの追加を準備できません: %2")
                                  .arg(table, errorText(query_.lastError())));
    }
    // Without transactions every row is kept as it is written, and the
    // rows removed stay removed.
    inTransaction_ = db_.transaction();
    QSqlQuery erase(db_);
    if (existing_ == ExistingRows::Replaced &&
        !erase.exec(QStringLiteral("DELETE FROM ") + sqlTable)) {
        const QString reason = errorText(erase.lastError());
        rollBack();
        throw SkelvoError(
            QStringLiteral("%1 テーブルのデータを消去できません: %2").arg(table, reason));
    }
}

BulkInsert::~BulkInsert()
{
    if (existing_ == ExistingRows::Replaced)
        rollBack();
    else if (inTransaction_)
        db_.commit();
}

void BulkInsert::insert(const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size() && i < columns_.size(); ++i) {
        if (const QString problem = unstorableValueProblem(columns_[i], values[i], textLimits_[i]);
            !problem.isEmpty())
            refuse(problem);
    }
    bool written = false;
    if (values_.asLiterals()) {
        QStringList literals;
        literals.reserve(values.size());
        for (const QVariant& value : values)
            literals.append(values_.literal(value));
        written = query_.exec(head_ + literals.join(u',') + u')');
    } else {
        for (qsizetype i = 0; i < values.size(); ++i)
            query_.bindValue(int(i), bindable(values[i]));
        written = query_.exec();
    }
    if (!written)
        refuse(errorText(query_.lastError()));
}

void BulkInsert::refuse(const QString& reason)
{
    if (existing_ == ExistingRows::Replaced)
        rollBack();
    else
        finish();
    throw SkelvoError(reason);
}

void BulkInsert::rollBack()
{
    if (inTransaction_)
        db_.rollback();
    inTransaction_ = false;
}

void BulkInsert::finish()
{
    if (!inTransaction_)
        return;
    inTransaction_ = false;
    if (!db_.commit())
        throw SkelvoError(
            QStringLiteral("追加した行を確定できません: %1").arg(errorText(db_.lastError())));
}
