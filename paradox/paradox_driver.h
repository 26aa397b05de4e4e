#pragma once

#include <QSqlDriver>
#include <memory>

namespace paradox {
class SqlEngine;
}

// The folder store seen through Qt SQL: the database name is the folder,
// each .DB file in it a table. Registered in-process as "QPARADOX".
class ParadoxDriver : public QSqlDriver
{
    Q_OBJECT

public:
    static constexpr const char* Name = "QPARADOX";
    // Makes the driver known to QSqlDatabase; safe to call more than once.
    static void registerDriver();

    explicit ParadoxDriver(QObject* parent = nullptr);
    ~ParadoxDriver() override;

    bool hasFeature(DriverFeature feature) const override;
    bool open(const QString& folder, const QString& user, const QString& password,
              const QString& host, int port, const QString& options) override;
    void close() override;
    QSqlResult* createResult() const override;
    bool beginTransaction() override;
    bool commitTransaction() override;
    bool rollbackTransaction() override;
    QStringList tables(QSql::TableType type) const override;
    // The table's fields; its name as it stands or quoted as below.
    QSqlRecord record(const QString& table) const override;
    // "name", with "" for a double quote inside; the folder's statements read
    // such a name as the table file's name, blanks and dots included.
    QString escapeIdentifier(const QString& identifier, IdentifierType type) const override;
    bool isIdentifierEscaped(const QString& identifier, IdentifierType type) const override;

    paradox::SqlEngine& engine() const { return *engine_; }

private:
    // Runs a step of a transaction, its error kept as the driver's last.
    template <typename Step> bool transactionStep(Step step);

    std::unique_ptr<paradox::SqlEngine> engine_;
};
