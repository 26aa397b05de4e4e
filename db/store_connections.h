#pragma once

#include <QString>
#include <array>
#include <memory>

class DataSet;

// The kinds of store, as numbered in the settings file.
enum StoreKind
{
    MySqlStore = 0,
    OdbcStore = 1,
    ParadoxStore = 2,
};

// The stored connection settings and the connection and row-set of each
// kind of store. The connection operations swallow their own errors and
// report through IsConnected and IsTableOpen; the error itself surfaces
// when a caller opens the row-set.
class StoreConnections
{
public:
    StoreConnections();
    ~StoreConnections();
    StoreConnections(const StoreConnections&) = delete;
    StoreConnections& operator=(const StoreConnections&) = delete;

    int DatabaseKind = MySqlStore;
    QString ServerName;
    QString DatabaseName;
    QString UserName;
    QString Password; // as typed; scrambled only in the settings file
    QString TableName;
    bool IsConnected = false; // result of the last attempt; a disconnect keeps it
    QString LastError;        // why the last attempt failed; empty after a success
    bool IsTableOpen = false;
    QString SelectColumns = QStringLiteral("*");
    QString SelectWhere;
    QString SelectOrder;

    // The "Database" section of the settings file.
    void ReadSettings(const QString& iniPath);
    void WriteSettings(const QString& iniPath) const;
    // An empty user name becomes the logged-on user's name.
    void FillDefaultUserName();

    void ConnectDatabase();
    void TryConnect(int kind, const QString& server, const QString& password, const QString& user,
                    const QString& database);
    void DisconnectDatabase();
    bool OpenLogTable();
    void CloseLogTable();
    DataSet* CurrentDataSet() const;
    // The current row-set; an error when the stored kind names no store.
    DataSet& requireDataSet() const;
    DataSet* dataSetOf(int kind) const;
    QString connectionNameOf(int kind) const;
    // A table name as the current kind's statements carry it (quoted only
    // when it is not a plain name; see ::sqlTableName, which may raise).
    QString sqlTableName(const QString& table) const;

private:
    void closeConnection(int kind);

    std::array<std::unique_ptr<DataSet>, 3> dataSets_;
};
