#include "core/password.h"
#include "core/settings_file.h"
#include "db/store_connections.h"
#include "tests/testsupport/qt_printers.h"
#include "tests/testsupport/temp_folder.h"

#include <gtest/gtest.h>

TEST(StoreSettings, DefaultsWithoutAFile)
{
    testsupport::TempFolder folder;
    StoreConnections store;
    store.ReadSettings(folder.filePath("Skelvo.INI"));
    EXPECT_EQ(store.DatabaseKind, MySqlStore);
    EXPECT_EQ(store.ServerName, "localhost");
    EXPECT_EQ(store.DatabaseName, "Skelvo");
    EXPECT_EQ(store.UserName, "");
    EXPECT_EQ(store.Password, "");
    EXPECT_EQ(store.TableName, "");
    EXPECT_FALSE(store.IsConnected);
    EXPECT_FALSE(store.IsTableOpen);
    EXPECT_EQ(store.SelectColumns, "*");
}

TEST(StoreSettings, RoundTripWithThePasswordScrambledOnDisk)
{
    testsupport::TempFolder folder;
    const QString ini = folder.filePath("Skelvo.INI");
    StoreConnections written;
    written.DatabaseKind = OdbcStore;
    written.ServerName = "db.example:3307";
    written.DatabaseName = "ログブック";
    written.UserName = "pilot";
    written.Password = "pa;ss=word \"x\" ";
    written.TableName = "ab12";
    written.WriteSettings(ini);

    EXPECT_EQ(MyutyFiles::IniReadString(ini, "Database", "Password", ""),
              Myutyfunc::ScramblePassword(written.Password));

    StoreConnections read;
    read.ReadSettings(ini);
    EXPECT_EQ(read.DatabaseKind, OdbcStore);
    EXPECT_EQ(read.ServerName, written.ServerName);
    EXPECT_EQ(read.DatabaseName, written.DatabaseName);
    EXPECT_EQ(read.UserName, written.UserName);
    EXPECT_EQ(read.Password, written.Password);
    EXPECT_EQ(read.TableName, written.TableName);
}

TEST(StoreSettings, EmptyUserNameBecomesTheLoggedOnUser)
{
    StoreConnections store;
    store.FillDefaultUserName();
    EXPECT_FALSE(store.UserName.isEmpty());
    store.UserName = "kept";
    store.FillDefaultUserName();
    EXPECT_EQ(store.UserName, "kept");
}

TEST(StoreSettings, UnknownKindNeverConnectsOrOpens)
{
    StoreConnections store;
    store.DatabaseKind = 7;
    store.ConnectDatabase();
    EXPECT_FALSE(store.IsConnected);
    EXPECT_FALSE(store.OpenLogTable());
    EXPECT_EQ(store.CurrentDataSet(), nullptr);
}
