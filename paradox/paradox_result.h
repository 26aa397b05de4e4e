#pragma once

#include "paradox/paradox_sql.h"

#include <QSqlResult>
#include <functional>
#include <optional>

class ParadoxDriver;

// One statement's outcome on the folder store: the rows of a SELECT, or the
// count of rows a change touched.
class ParadoxResult : public QSqlResult
{
public:
    explicit ParadoxResult(const ParadoxDriver* driver);

protected:
    bool reset(const QString& statement) override;
    // Read once; each exec() runs it with the values bound then.
    bool prepare(const QString& statement) override;
    bool exec() override;
    // Kept by position here: the base class names each value it keeps,
    // which costs more than the folder store takes to write a row.
    void bindValue(int position, const QVariant& value, QSql::ParamType type) override;
    QVariant data(int field) override;
    bool isNull(int field) override;
    bool fetch(int row) override;
    bool fetchFirst() override;
    bool fetchLast() override;
    int size() override;
    int numRowsAffected() override;
    QSqlRecord record() const override;
    QVariant lastInsertId() const override;

private:
    // Runs a statement on the folder's engine, keeping its result or error.
    bool run(const std::function<paradox::QueryResult(paradox::SqlEngine&)>& statement);

    const ParadoxDriver* driver_;
    paradox::QueryResult result_;
    std::optional<paradox::PreparedStatement> prepared_;
    QList<QVariant> positional_;
};
