#include "paradox/paradox_result.h"

#include "core/error.h"
#include "paradox/paradox_driver.h"
#include "paradox/paradox_fields.h"

#include <QSqlError>

ParadoxResult::ParadoxResult(const ParadoxDriver* driver) : QSqlResult(driver), driver_(driver) {}

bool ParadoxResult::run(const std::function<paradox::QueryResult(paradox::SqlEngine&)>& statement)
{
    setActive(false);
    setAt(QSql::BeforeFirstRow);
    result_ = {};
    if (!driver_->isOpen()) {
        setLastError(QSqlError(QStringLiteral("フォルダーが開いていません。"), {},
                               QSqlError::ConnectionError));
        return false;
    }
    try {
        result_ = statement(driver_->engine());
    } catch (const SkelvoError& error) {
        setLastError(QSqlError(error.message(), {}, QSqlError::StatementError));
        return false;
    }
    setSelect(result_.isSelect);
    setActive(true);
    return true;
}

bool ParadoxResult::reset(const QString& statement)
{
    return run([&](paradox::SqlEngine& engine) { return engine.execute(statement); });
}

bool ParadoxResult::prepare(const QString& statement)
{
    prepared_.reset();
    positional_.clear();
    try {
        prepared_ = paradox::SqlEngine::prepare(statement);
    } catch (const SkelvoError& error) {
        setLastError(QSqlError(error.message(), {}, QSqlError::StatementError));
        return false;
    }
    return true;
}

bool ParadoxResult::exec()
{
    if (!prepared_) {
        setLastError(QSqlError(QStringLiteral("準備された SQL 文がありません。"), {},
                               QSqlError::StatementError));
        return false;
    }
    // Values bound by name went to the base class.
    const QList<QVariant> values = positional_.isEmpty() ? boundValues() : positional_;
    return run([&](paradox::SqlEngine& engine) { return engine.execute(*prepared_, values); });
}

void ParadoxResult::bindValue(int position, const QVariant& value, QSql::ParamType)
{
    if (positional_.size() <= position)
        positional_.resize(position + 1);
    positional_[position] = value;
}

QVariant ParadoxResult::data(int field)
{
    // Read through const lists: the rows share their values with the
    // engine's copy of the table, and a write access would copy each row.
    const QVariant& value = std::as_const(result_.rows)[at()][field];
    // A null arrives typed, as from the other stores' drivers.
    return value.isValid() ? value : QVariant(paradox::metaTypeOf(result_.columns[field].type));
}

bool ParadoxResult::isNull(int field)
{
    return !std::as_const(result_.rows)[at()][field].isValid();
}

bool ParadoxResult::fetch(int row)
{
    if (row < 0 || row >= result_.rows.size())
        return false;
    setAt(row);
    return true;
}

bool ParadoxResult::fetchFirst()
{
    return fetch(0);
}

bool ParadoxResult::fetchLast()
{
    return fetch(int(result_.rows.size()) - 1);
}

int ParadoxResult::size()
{
    return result_.isSelect ? int(result_.rows.size()) : -1;
}

int ParadoxResult::numRowsAffected()
{
    return result_.rowsAffected;
}

QSqlRecord ParadoxResult::record() const
{
    return isActive() && result_.isSelect ? paradox::sqlRecordOf(result_.columns) : QSqlRecord();
}

QVariant ParadoxResult::lastInsertId() const
{
    return result_.lastInsertId;
}
