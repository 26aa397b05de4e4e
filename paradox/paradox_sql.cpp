#include "paradox/paradox_sql.h"

#include "core/error.h"
#include "core/statement_error.h"
#include "paradox/sql_parameters.h"
#include "paradox/sql_parser.h"
#include "paradox/sql_runner.h"
#include "paradox/sql_table_cache.h"
#include "paradox/sql_transaction.h"

namespace paradox {

SqlEngine::SqlEngine(QString folder)
    : cache_(std::make_unique<sql::TableCache>(std::move(folder))),
      transaction_(std::make_unique<sql::Transaction>(*cache_))
{}

// A transaction left open is rolled back as its tables close.
SqlEngine::~SqlEngine() = default;
SqlEngine::SqlEngine(SqlEngine&&) noexcept = default;
SqlEngine& SqlEngine::operator=(SqlEngine&&) noexcept = default;

const QString& SqlEngine::folder() const
{
    return cache_->folder();
}

namespace {

// Errors end with the statement they stopped.
template <typename Work> auto naming(const QString& statement, Work work) -> decltype(work())
{
    try {
        return work();
    } catch (const SkelvoError& error) {
        throw SkelvoError(statementError(error.message(), statement));
    }
}

} // namespace

QueryResult SqlEngine::execute(const QString& statement)
{
    return naming(statement, [&] {
        return sql::runStatement(*cache_, *transaction_, sql::parseStatement(statement));
    });
}

PreparedStatement SqlEngine::prepare(const QString& statement)
{
    return naming(statement, [&] {
        return PreparedStatement{statement, sql::parseStatement(statement)};
    });
}

QueryResult SqlEngine::execute(const PreparedStatement& statement, const QList<QVariant>& values)
{
    return naming(statement.text, [&] {
        return sql::runStatement(*cache_, *transaction_,
                                 sql::withParameters(statement.statement, values));
    });
}

void SqlEngine::beginTransaction()
{
    transaction_->begin();
}

void SqlEngine::commit()
{
    transaction_->commit();
}

void SqlEngine::rollBack()
{
    transaction_->rollBack();
}

QStringList SqlEngine::tableNames() const
{
    return cache_->tableNames();
}

QList<Field> SqlEngine::tableFields(const QString& table) const
{
    return cache_->table(table).table.fields();
}

} // namespace paradox
