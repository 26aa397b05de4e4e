#include "db/table_file.h"

#include "core/error.h"
#include "data/data_set.h"
#include "data/row_writer.h"
#include "paradox/paradox_driver.h"

#include <QFileInfo>
#include <QSqlDatabase>

void openTableFile(DataSet& table, const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        throw SkelvoError(QStringLiteral("テーブルファイル %1 がありません。").arg(path));
    ParadoxDriver::registerDriver();
    const QString connection = QStringLiteral("Table1");
    QSqlDatabase db = QSqlDatabase::contains(connection)
                          ? QSqlDatabase::database(connection, false)
                          : QSqlDatabase::addDatabase(ParadoxDriver::Name, connection);
    table.close();
    db.close();
    db.setDatabaseName(file.absolutePath());
    table.setConnectionName(connection);
    table.setCommandText(QStringLiteral("SELECT * FROM ") + sqlTableName(db, file.fileName()));
    table.setUpdateTable({});
    table.open();
}
