#include "db/store_connections.h"

#include "core/error.h"
#include "core/logon_user.h"
#include "core/password.h"
#include "core/settings_keys.h"
#include "data/data_set.h"
#include "data/row_writer.h"
#include "db/store_dialects.h"
#include "paradox/paradox_driver.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace {

struct KindTraits
{
    const char* driver;
    const char* connectionName;
    DataSet::WriteBack writeBack;
};

// The MySQL row-set holds its changes until they are applied; the others
// write each change through at once.
constexpr std::array<KindTraits, 3> Kinds{{
    {"QMYSQL", "MySQLConnection", DataSet::WriteBack::Cached},
    {"QODBC", "ADOConnection1", DataSet::WriteBack::Immediate},
    {"QPARADOX", "Database1", DataSet::WriteBack::Immediate},
}};

bool knownKind(int kind)
{
    return kind >= 0 && kind < int(Kinds.size());
}

QSqlDatabase connectionFor(int kind)
{
    const KindTraits& traits = Kinds[kind];
    if (QSqlDatabase::contains(traits.connectionName))
        return QSqlDatabase::database(traits.connectionName, false);
    return QSqlDatabase::addDatabase(traits.driver, traits.connectionName);
}

// "host" or "host:port"; "localhost" alone goes through the local socket.
void setServer(QSqlDatabase& db, const QString& server)
{
    const qsizetype colon = server.lastIndexOf(':');
    bool isPort = false;
    const int port = colon > 0 ? server.mid(colon + 1).toInt(&isPort) : 0;
    db.setHostName(isPort ? server.left(colon) : server);
    db.setPort(isPort ? port : -1);
}

} // namespace

StoreConnections::StoreConnections()
{
    ParadoxDriver::registerDriver();
    for (int kind = 0; kind < int(Kinds.size()); ++kind) {
        dataSets_[kind] = std::make_unique<DataSet>();
        dataSets_[kind]->setConnectionName(Kinds[kind].connectionName);
        dataSets_[kind]->setWriteBack(Kinds[kind].writeBack);
        dataSets_[kind]->setIdentityField(QStringLiteral("id"));
    }
}

StoreConnections::~StoreConnections() = default;

void StoreConnections::ReadSettings(const QString& iniPath)
{
    DatabaseKind = Settings::read(iniPath, Settings::DatabaseKind);
    ServerName = Settings::read(iniPath, Settings::ServerName);
    DatabaseName = Settings::read(iniPath, Settings::DatabaseName);
    UserName = Settings::read(iniPath, Settings::UserName);
    Password = Myutyfunc::UnscramblePassword(Settings::read(iniPath, Settings::Password));
    TableName = Settings::read(iniPath, Settings::TableName);
}

void StoreConnections::WriteSettings(const QString& iniPath) const
{
    Settings::write(iniPath, Settings::DatabaseKind, DatabaseKind);
    Settings::write(iniPath, Settings::ServerName, ServerName);
    Settings::write(iniPath, Settings::DatabaseName, DatabaseName);
    Settings::write(iniPath, Settings::UserName, UserName);
    Settings::write(iniPath, Settings::Password, Myutyfunc::ScramblePassword(Password));
    Settings::write(iniPath, Settings::TableName, TableName);
}

void StoreConnections::FillDefaultUserName()
{
    if (UserName.isEmpty())
        UserName = loggedOnUserName();
}

void StoreConnections::ConnectDatabase()
{
    FillDefaultUserName();
    TryConnect(DatabaseKind, ServerName, Password, UserName, DatabaseName);
}

void StoreConnections::TryConnect(int kind, const QString& server, const QString& password,
                                  const QString& user, const QString& database)
{
    IsConnected = false;
    LastError.clear();
    if (!knownKind(kind)) {
        LastError = QStringLiteral("データベースの種類 %1 は使えません。").arg(kind);
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(Kinds[kind].driver)) {
        LastError = QStringLiteral("データベースのドライバー %1 がありません。")
                        .arg(QLatin1StringView(Kinds[kind].driver));
        return;
    }
    try {
        closeConnection(kind);
    } catch (const SkelvoError& error) {
        LastError = error.message(); // a row-set that cannot let go keeps its connection
        return;
    } catch (const std::exception& error) {
        LastError = QString::fromUtf8(error.what());
        return;
    }
    QSqlDatabase db = connectionFor(kind);
    db.setDatabaseName(database);
    if (kind == MySqlStore) {
        setServer(db, server);
        // Matched rows, not changed rows, so that writing a row back with
        // its own values still counts as finding it.
        db.setConnectOptions(QStringLiteral("CLIENT_FOUND_ROWS"));
    }
    if (kind != ParadoxStore) {
        db.setUserName(user);
        db.setPassword(password);
    }
    IsConnected = db.open();
    if (!IsConnected) {
        LastError = db.lastError().text().trimmed();
        if (LastError.isEmpty())
            LastError = QStringLiteral("接続できませんでした。");
        return;
    }
    // The server behind a data source is known only once connected.
    dataSets_[kind]->setDialect(dialectOf(db));
}

void StoreConnections::closeConnection(int kind)
{
    if (kind == OdbcStore || kind == ParadoxStore)
        dataSets_[kind]->close();
    if (QSqlDatabase::contains(Kinds[kind].connectionName))
        QSqlDatabase::database(Kinds[kind].connectionName, false).close();
}

void StoreConnections::DisconnectDatabase()
{
    if (knownKind(DatabaseKind))
        closeConnection(DatabaseKind);
}

bool StoreConnections::OpenLogTable()
{
    IsTableOpen = false;
    if (!knownKind(DatabaseKind))
        return false;
    if (SelectColumns.isEmpty())
        SelectColumns = QStringLiteral("*");
    DataSet* dataSet = CurrentDataSet();
    try {
        dataSet->close();
        const ColumnsRead columns =
            SelectColumns == QLatin1String("*")
                ? columnsToRead(QSqlDatabase::database(Kinds[DatabaseKind].connectionName, false),
                                TableName)
                : ColumnsRead{SelectColumns, {}};
        dataSet->setCommandText(
            QStringLiteral("SELECT %1 FROM %2 %3 %4")
                .arg(columns.list, sqlTableName(TableName), SelectWhere, SelectOrder),
            columns.textAsBytes);
        dataSet->setUpdateTable(TableName);
        dataSet->open();
        IsTableOpen = true;
    } catch (const std::exception&) {
        // Callers learn of the failure from the result, or from the error
        // when they open the row-set themselves.
    }
    return IsTableOpen;
}

void StoreConnections::CloseLogTable()
{
    // The MySQL rows stay in memory: the main window closes them itself,
    // after their held changes have gone to the server.
    if (DatabaseKind == OdbcStore || DatabaseKind == ParadoxStore)
        dataSets_[DatabaseKind]->close();
    IsTableOpen = false;
}

DataSet* StoreConnections::CurrentDataSet() const
{
    return dataSetOf(DatabaseKind);
}

DataSet& StoreConnections::requireDataSet() const
{
    DataSet* dataSet = CurrentDataSet();
    if (!dataSet)
        throw SkelvoError(QStringLiteral("データベースの種類 %1 は使えません。").arg(DatabaseKind));
    return *dataSet;
}

DataSet* StoreConnections::dataSetOf(int kind) const
{
    return knownKind(kind) ? dataSets_[kind].get() : nullptr;
}

QString StoreConnections::connectionNameOf(int kind) const
{
    return knownKind(kind) ? QString::fromLatin1(Kinds[kind].connectionName) : QString();
}

QString StoreConnections::sqlTableName(const QString& table) const
{
    if (!knownKind(DatabaseKind))
        return table;
    return ::sqlTableName(QSqlDatabase::database(Kinds[DatabaseKind].connectionName, false), table);
}
