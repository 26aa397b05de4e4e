#pragma once

#include "data/data_set_row.h"
#include "data/field_flags.h"
#include "data/statement_values.h"

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <functional>

// A table name as the statements of this connection carry it: as it stands
// when it is a plain name (letters, digits and '_', not starting with a
// digit), so such statements read as they always have; otherwise between
// the quote characters of the connection's driver with each one inside
// doubled, so that a table another program named with a blank or other
// character can still be reached, and no name reaches any other table.
// Every statement naming a table takes its name from here. A closed
// connection is opened first, as the statement will need it anyway. Raises
// SkelvoError when it cannot be opened, or when the driver quotes no names
// and the name is not plain.
QString sqlTableName(QSqlDatabase db, const QString& table);

// Writes single rows back to a table with generated statements. Every
// statement must touch exactly one row: one that would touch none or
// several is undone and raises an error naming the table and the row.
// Values travel as the store's dialect says (bound unless it gives literals).
class RowWriter
{
public:
    void reset(const QString& connectionName, const QString& table, const QStringList& fieldNames);
    void setIdentityField(const QString& name);
    void setDialect(StoreDialect dialect);
    // How much text each column of the table holds, as learnt at reset().
    const TextLimits& textLimits() const { return limits_; }
    // Each of these leaves the row as the table now holds it on success.
    void insert(DataSetRow& row, const WriteSettings& settings);
    void update(DataSetRow& row, const WriteSettings& settings);
    void remove(const DataSetRow& row, const WriteSettings& settings);

    // Changes written between these two calls share one transaction; a
    // change that fails is undone alone and the others go on.
    void beginBatch();
    void endBatch();

private:
    // The row as messages name it, made only when one is raised.
    using RowName = std::function<QString()>;

    struct Statement
    {
        QString sql;
        QVariantList values;
        bool byIdentity = false; // a WHERE naming the store's own row number alone
    };

    QSqlDatabase database() const;
    QString valueText(Statement& statement, const QVariant& value) const;
    // A value the row writes; raises for one no store keeps whole or one
    // longer than its column.
    QString writtenValueText(Statement& statement, int field, const DataSetRow& row,
                             const WriteSettings& settings) const;
    bool knowsIdentity(const DataSetRow& row) const;
    Statement whereClause(const DataSetRow& row, const WriteSettings& settings,
                          const RowName& rowName) const;
    QString describe(const DataSetRow& row, const WriteSettings& settings) const;
    // The query that ran stays valid until the next statement.
    QSqlQuery& runExactlyOne(const Statement& statement, const Statement& where,
                             const RowName& rowName);
    QSqlQuery& run(const Statement& statement, const RowName& rowName);
    QSqlQuery& prepared(const QString& sql);
    void runPlain(const QString& sql);
    [[noreturn]] void raise(const RowName& rowName, const QString& reason) const;
    // The values the settings write, in the form the store keeps them.
    void takeStoredForm(DataSetRow& row, const WriteSettings& settings) const;
    QVariant insertedIdentity(const QSqlQuery& query) const;

    QString connectionName_;
    QString table_;    // as the user knows it, for messages
    QString sqlTable_; // as the statements carry it
    QStringList fields_;
    int identityField_ = -1;
    QString identityName_;
    StoreDialect dialect_;
    TextLimits limits_;
    QList<TextLimit> textLimits_; // one a field, in the fields' order
    bool inBatch_ = false;
    StatementValues values_;
    QHash<QString, QSqlQuery> preparedQueries_;
    QSqlQuery literalQuery_;
};
