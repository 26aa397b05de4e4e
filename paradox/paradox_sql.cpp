#include "paradox/paradox_sql.h"

#include "core/error.h"
#include "core/statement_error.h"
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

QueryResult SqlEngine::execute(const QString& statement)
{
    try {
        return sql::runStatement(*cache_, *transaction_, sql::parseStatement(statement));
    } catch (const SkelvoError& error) {
        throw SkelvoError(statementError(error.message(), statement));
    }
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
