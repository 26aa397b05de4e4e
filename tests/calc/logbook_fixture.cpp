#include "tests/calc/logbook_fixture.h"

#include "db/table_management.h"
#include "paradox/paradox_driver.h"

#include <QSqlError>
#include <QSqlQuery>

namespace logbook {

namespace {

const QStringList TimeColumns{"blocktime", "flighttime", "glider"};
const QStringList AirframeColumns{"sincema", "sinceov"};
const QStringList EngineColumns{"e_groundtime", "e_totaltime", "e_sincema", "e_sinceov"};
const QStringList PropellerColumns{"p_groundtime", "p_totaltime", "p_sincema", "p_sinceov"};

QStringList cells(const char* text, qsizetype count)
{
    const QStringList parts = QString::fromUtf8(text).split(' ', Qt::SkipEmptyParts);
    EXPECT_EQ(parts.size(), count) << "malformed test row: " << text;
    return parts;
}

QString cellText(const QVariant& value)
{
    const QString text = value.isNull() ? QString() : value.toString();
    return text.isEmpty() ? QStringLiteral("-") : text;
}

int nextConnection = 0;

} // namespace

QString row(const char* airframe, const char* engine, const char* propeller)
{
    return QStringLiteral("%1 | %2 | %3")
        .arg(QString::fromUtf8(airframe), QString::fromUtf8(engine),
             QString::fromUtf8(propeller ? propeller : engine));
}

void LogbookTest::SetUp()
{
    ParadoxDriver::registerDriver();
    connection_ = QStringLiteral("logbook %1").arg(++nextConnection);
    QSqlDatabase db = QSqlDatabase::addDatabase(ParadoxDriver::Name, connection_);
    db.setDatabaseName(folder_.path());
    ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    createTable();
    rows_.setConnectionName(connection_);
    rows_.setCommandText(QStringLiteral("SELECT * FROM t ORDER BY ct,sb"));
    rows_.setUpdateTable(QStringLiteral("t"));
    rows_.setIdentityField(QStringLiteral("id"));
}

void LogbookTest::TearDown()
{
    rows_.close();
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

void LogbookTest::createTable()
{
    exec(TableManagement::prepareCommand(
        TableManagement::readCommandFile(SKELVO_SOURCE_DIR "/commands/CreateTable.PRDX"), "t"));
}

void LogbookTest::recreateTable()
{
    rows_.close();
    exec(QStringLiteral("DROP TABLE t"));
    createTable();
}

QSqlDatabase LogbookTest::database() const
{
    return QSqlDatabase::database(connection_, false);
}

void LogbookTest::exec(const QString& sql)
{
    QSqlQuery query(database());
    ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": "
                                 << query.lastError().text().toStdString();
}

void LogbookTest::seed(const std::vector<LogRow>& rows)
{
    const QStringList textColumns =
        TimeColumns + AirframeColumns + EngineColumns + PropellerColumns;
    QSqlQuery query(database());
    const QString sql =
        QStringLiteral("INSERT INTO t (ct, sb, ovh, e_ovh, p_ovh, %1) VALUES "
                       "(?, ?, ?, ?, ?%2)")
            .arg(textColumns.join(", "), QStringLiteral(", ?").repeated(textColumns.size()));
    ASSERT_TRUE(query.prepare(sql)) << query.lastError().text().toStdString();
    int ct = 0;
    for (const LogRow& r : rows) {
        const QString overhaul = QString::fromUtf8(r.overhaul);
        QVariantList values{++ct, 0, int(overhaul.contains('a')), int(overhaul.contains('e')),
                            int(overhaul.contains('p'))};
        const QStringList texts = cells(r.times, 3) + cells(r.airframe, 2) + cells(r.engine, 4) +
                                  cells(r.propeller ? r.propeller : r.engine, 4);
        for (const QString& text : texts)
            values.append(text == "-" ? QVariant(QMetaType::fromType<QString>()) : text);
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i]);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }
}

void LogbookTest::open()
{
    rows_.open();
}

QStringList LogbookTest::stored()
{
    const QStringList groups[] = {AirframeColumns, EngineColumns, PropellerColumns};
    const QStringList columns = groups[0] + groups[1] + groups[2];
    QSqlQuery query(database());
    EXPECT_TRUE(
        query.exec(QStringLiteral("SELECT %1 FROM t ORDER BY ct, sb").arg(columns.join(", "))))
        << query.lastError().text().toStdString();
    QStringList result;
    while (query.next()) {
        QStringList parts;
        int field = 0;
        for (const QStringList& group : groups) {
            QStringList texts;
            for (qsizetype i = 0; i < group.size(); ++i)
                texts.append(cellText(query.value(field++)));
            parts.append(texts.join(' '));
        }
        result.append(parts.join(QStringLiteral(" | ")));
    }
    return result;
}

} // namespace logbook
