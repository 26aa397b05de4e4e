#include "paradox/paradox_driver.h"

#include "core/error.h"
#include "paradox/paradox_fields.h"
#include "paradox/paradox_result.h"
#include "paradox/paradox_sql.h"
#include "paradox/sql_lexer.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

void ParadoxDriver::registerDriver()
{
    static const bool registered = [] {
        QSqlDatabase::registerSqlDriver(Name, new QSqlDriverCreator<ParadoxDriver>);
        return true;
    }();
    Q_UNUSED(registered);
}

ParadoxDriver::ParadoxDriver(QObject* parent) : QSqlDriver(parent) {}

ParadoxDriver::~ParadoxDriver() = default;

bool ParadoxDriver::hasFeature(DriverFeature feature) const
{
    switch (feature) {
    case QuerySize:
    case Unicode:
    case LastInsertId:
    case Transactions:
    case PreparedQueries:
        return true;
    default:
        return false;
    }
}

bool ParadoxDriver::open(const QString& folder, const QString&, const QString&, const QString&, int,
                         const QString&)
{
    if (folder.isEmpty() || !QDir(folder).exists()) {
        setLastError(QSqlError(tr("フォルダー %1 がありません。").arg(folder), {},
                               QSqlError::ConnectionError));
        setOpenError(true);
        return false;
    }
    engine_ = std::make_unique<paradox::SqlEngine>(folder);
    setOpen(true);
    setOpenError(false);
    return true;
}

void ParadoxDriver::close()
{
    engine_.reset();
    setOpen(false);
}

QSqlResult* ParadoxDriver::createResult() const
{
    return new ParadoxResult(this);
}

template <typename Step> bool ParadoxDriver::transactionStep(Step step)
{
    if (!isOpen())
        return false;
    try {
        step(*engine_);
        return true;
    } catch (const SkelvoError& error) {
        setLastError(QSqlError(error.message(), {}, QSqlError::TransactionError));
        return false;
    }
}

bool ParadoxDriver::beginTransaction()
{
    return transactionStep([](paradox::SqlEngine& engine) { engine.beginTransaction(); });
}

bool ParadoxDriver::commitTransaction()
{
    return transactionStep([](paradox::SqlEngine& engine) { engine.commit(); });
}

bool ParadoxDriver::rollbackTransaction()
{
    return transactionStep([](paradox::SqlEngine& engine) { engine.rollBack(); });
}

QStringList ParadoxDriver::tables(QSql::TableType type) const
{
    if (!isOpen() || !(type & QSql::Tables))
        return {};
    return engine_->tableNames();
}

QSqlRecord ParadoxDriver::record(const QString& table) const
{
    if (!isOpen())
        return {};
    try {
        // No file name holds '"', so a name in quotes is one as the
        // statements carry it.
        QString name = table;
        if (isIdentifierEscaped(table, TableName)) {
            const QList<paradox::sql::Token> tokens = paradox::sql::tokenize(table);
            if (tokens.size() != 2 || tokens[0].kind != paradox::sql::Token::Kind::QuotedName)
                return {};
            name = tokens[0].text;
        }
        return paradox::sqlRecordOf(engine_->tableFields(name));
    } catch (const std::exception&) {
        return {};
    }
}

QString ParadoxDriver::escapeIdentifier(const QString& identifier, IdentifierType type) const
{
    if (identifier.isEmpty() || isIdentifierEscaped(identifier, type))
        return identifier;
    QString quoted = identifier;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool ParadoxDriver::isIdentifierEscaped(const QString& identifier, IdentifierType) const
{
    return identifier.size() >= 2 && identifier.startsWith(u'"') && identifier.endsWith(u'"');
}
