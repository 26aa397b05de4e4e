#include "tests/testsupport/store_servers.h"

#include "tests/testsupport/gui_application.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace testsupport {
namespace {

// The values of variables the store fixture sets, in order; when any is
// missing the test fails once, naming them, and the list comes back empty.
QStringList fixtureValues(std::initializer_list<const char*> variables)
{
    QStringList values;
    QStringList missing;
    for (const char* variable : variables) {
        values << qEnvironmentVariable(variable);
        if (values.back().isEmpty())
            missing << QString::fromLatin1(variable);
    }
    if (missing.isEmpty())
        return values;
    ADD_FAILURE() << "not set: " << missing.join(", ").toStdString()
                  << ". Store tests learn about their server from ctest, which also starts it: "
                     "run them with `ctest -L store` in the build folder.";
    return {};
}

QSqlDatabase freshConnection(const QString& driver, const QString& connectionName)
{
    // Qt loads SQL drivers as plugins, which needs an application object.
    ensureGuiApplication();
    if (QSqlDatabase::contains(connectionName))
        QSqlDatabase::removeDatabase(connectionName);
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName);
    if (!db.isValid())
        ADD_FAILURE() << "Qt SQL driver " << driver.toStdString()
                      << " is not available; available: "
                      << QSqlDatabase::drivers().join(", ").toStdString();
    return db;
}

void reportOpenFailure(const QSqlDatabase& db, const QString& what)
{
    ADD_FAILURE() << "cannot open " << what.toStdString() << ": "
                  << db.lastError().text().toStdString()
                  << " (is the server running? ctest starts it through the mariadb_start test)";
}

QString sanitisedTestName()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info)
        return QStringLiteral("none");
    QString name = QString::fromUtf8(info->name()).toLower();
    name.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("_"));
    return name.left(24);
}

} // namespace

const char* storeServerName(StoreServer server)
{
    switch (server) {
    case StoreServer::MariaDb:
        return "MariaDb";
    case StoreServer::Odbc:
        return "Odbc";
    }
    return "?";
}

void PrintTo(StoreServer server, std::ostream* out)
{
    *out << storeServerName(server);
}

QSqlDatabase openMariaDb(const QString& connectionName)
{
    const QStringList fixture = fixtureValues(
        {"SKELVO_TEST_MYSQL_HOST", "SKELVO_TEST_MYSQL_PORT", "SKELVO_TEST_MYSQL_DATABASE",
         "SKELVO_TEST_MYSQL_USER", "SKELVO_TEST_MYSQL_PASSWORD"});
    if (fixture.isEmpty())
        return {};
    const QString &host = fixture[0], &port = fixture[1], &database = fixture[2],
                  &user = fixture[3], &password = fixture[4];

    QSqlDatabase db = freshConnection(QStringLiteral("QMYSQL"), connectionName);
    if (!db.isValid())
        return db;
    db.setHostName(host);
    db.setPort(port.toInt());
    db.setDatabaseName(database);
    db.setUserName(user);
    db.setPassword(password);
    // An UPDATE that rewrites a row with its own values must still count it,
    // or a write-back could not tell "unchanged" from "row gone".
    db.setConnectOptions(QStringLiteral("CLIENT_FOUND_ROWS;MYSQL_OPT_CONNECT_TIMEOUT=10"));
    if (!db.open())
        reportOpenFailure(db, QStringLiteral("MariaDB at %1:%2").arg(host, port));
    return db;
}

QSqlDatabase openOdbc(const QString& connectionName)
{
    const QStringList fixture = fixtureValues({"SKELVO_TEST_ODBC_DSN", "SKELVO_TEST_MYSQL_USER",
                                               "SKELVO_TEST_MYSQL_PASSWORD", "ODBCSYSINI"});
    if (fixture.isEmpty())
        return {};
    const QString &dsn = fixture[0], &user = fixture[1], &password = fixture[2],
                  &iniFolder = fixture[3];

    QSqlDatabase db = freshConnection(QStringLiteral("QODBC"), connectionName);
    if (!db.isValid())
        return db;
    db.setDatabaseName(dsn);
    db.setUserName(user);
    db.setPassword(password);
    if (!db.open())
        reportOpenFailure(
            db, QStringLiteral("ODBC data source %1 (from %2/odbc.ini)").arg(dsn, iniFolder));
    return db;
}

QSqlDatabase openStoreServer(StoreServer server, const QString& connectionName)
{
    return server == StoreServer::MariaDb ? openMariaDb(connectionName) : openOdbc(connectionName);
}

ServerConnection::ServerConnection(StoreServer server, const QString& connectionName)
    : name_(connectionName), db_(openStoreServer(server, connectionName))
{}

ServerConnection::~ServerConnection()
{
    db_.close();
    // Qt keeps the connection while any handle to it lives.
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(name_))
        QSqlDatabase::removeDatabase(name_);
}

ScratchTable::ScratchTable(QSqlDatabase db) : db_(std::move(db))
{
    // The process id keeps concurrent test processes apart, the counter the
    // tests of one process; the test's name only helps whoever reads a leftover.
    static QAtomicInt counter;
    name_ = QStringLiteral("t%1_%2_%3")
                .arg(QCoreApplication::applicationPid())
                .arg(counter.fetchAndAddRelaxed(1))
                .arg(sanitisedTestName());
    // A process that crashed may have left a table of this name behind.
    drop();
}

ScratchTable::~ScratchTable()
{
    drop();
}

bool ScratchTable::create(const QString& statement)
{
    QString text = statement;
    text.replace(QStringLiteral("%%"), name_);
    QSqlQuery query(db_);
    if (!query.exec(text)) {
        ADD_FAILURE() << "cannot create table " << name_.toStdString() << ": "
                      << query.lastError().text().toStdString() << "\nstatement:\n"
                      << text.toStdString();
        return false;
    }
    return true;
}

void ScratchTable::drop()
{
    if (!db_.isOpen())
        return;
    QSqlQuery query(db_);
    query.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(name_));
}

} // namespace testsupport
