#include "db/store_dialects.h"

#include "core/error.h"
#include "db/mysql_over_odbc.h"
#include "paradox/code_page.h"
#include "paradox/paradox_driver.h"

#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The folder store keeps text in CP932: a character that CP932 holds only
// as a look-alike ("〜", "−", "¥" …) is stored as that look-alike, as
// Windows stores it, and the row shows it so. A character CP932 lacks is
// left for the store to refuse by name.
QVariant folderStoredForm(const QVariant& value)
{
    if (value.metaType().id() != QMetaType::QString)
        return value;
    static const paradox::codec::CodePage cp932(932);
    try {
        return cp932.storedForm(value.toString(), -1);
    } catch (const SkelvoError&) {
        return value;
    }
}

// A folder table's alpha fields hold as many bytes of its code page as
// they are wide.
TextLimits folderTextLimits(QSqlDatabase db, const QString& table)
{
    const QSqlRecord record = db.record(table);
    TextLimits limits;
    for (int i = 0; i < record.count(); ++i) {
        if (record.field(i).length() > 0)
            limits.insert(record.fieldName(i).toLower(), {record.field(i).length(), true});
    }
    return limits;
}

// A server other than MySQL's family behind ODBC: text quoted by the rules
// the server itself follows, as national text for SQL Server so that it
// keeps what lies outside the server's code page.
StatementValues::Literal quotedLiterals(const QSqlDatabase& db)
{
    QSqlQuery probe(db);
    // Whether the server reads a backslash in a literal as an escape.
    const bool backslashEscapes = probe.exec(QStringLiteral("SELECT '\\\\'")) && probe.next() &&
                                  probe.value(0).toString().size() == 1;
    const QString open = db.driver()->dbmsType() == QSqlDriver::MSSqlServer ? QStringLiteral("N'")
                                                                            : QStringLiteral("'");
    return [backslashEscapes, open](const QVariant& value) {
        if (const std::optional<QString> common = commonLiteral(value))
            return *common;
        QString text = value.toString();
        if (backslashEscapes)
            text.replace(u'\\', QStringLiteral("\\\\"));
        text.replace(u'\'', QStringLiteral("''"));
        return open + text + u'\'';
    };
}

} // namespace

StoreDialect dialectOf(const QSqlDatabase& db)
{
    if (db.driverName() == QLatin1String(ParadoxDriver::Name))
        return {.storedForm = folderStoredForm, .textLimits = folderTextLimits};
    if (db.driverName() == QLatin1String("QMYSQL"))
        return {.textLimits = MySqlOverOdbc::textLimits};
    if (db.driverName() != QLatin1String("QODBC"))
        return {};
    if (MySqlOverOdbc::isMySqlOverOdbc(db))
        return {.literal = MySqlOverOdbc::literal,
                .insertedIdentity = MySqlOverOdbc::lastInsertId,
                .textLimits = MySqlOverOdbc::textLimits};
    return {.literal = quotedLiterals(db)};
}

TextLimits textLimitsOf(QSqlDatabase db, const QString& table)
{
    const StoreDialect dialect = dialectOf(db);
    return dialect.textLimits ? dialect.textLimits(db, table) : TextLimits();
}

ColumnsRead columnsToRead(QSqlDatabase db, const QString& table)
{
    if (!db.isOpen())
        db.open();
    if (!MySqlOverOdbc::isMySqlOverOdbc(db))
        return {QStringLiteral("*"), {}};
    return MySqlOverOdbc::columnsOf(db, table);
}
