#include "db/csv_transfer.h"

#include "core/csv_format.h"
#include "core/error.h"
#include "core/log_record.h"
#include "data/bulk_insert.h"
#include "data/row_writer.h"
#include "data/statement_values.h"
#include "data/text_bytes.h"
#include "db/store_dialects.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

namespace CsvTransfer {
namespace {

// Positions in a line (from 1) whose empty value is stored as 0: the
// integer and flag columns of the standard header. The rule goes by
// position, whatever a header names there.
constexpr int ZeroWhenEmpty[] = {4, 13, 20, 21, 22, 29, 30, 31, 38, 39};

bool isHeader(const QString& line)
{
    return line.left(8).compare(QLatin1String("callsign"), Qt::CaseInsensitive) == 0;
}

[[noreturn]] void refuse(int line, const QString& reason)
{
    throw SkelvoError(QStringLiteral("%1 行目: %2").arg(line).arg(reason));
}

} // namespace

QString cellText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return value.isNull() ? QString() : value.toString();
}

QStringList dataColumnNames()
{
    QStringList names;
    for (const LogRecord::Column& column : LogRecord::dataColumns())
        names.append(QString(column.name));
    return names;
}

int writeFile(const QString& connectionName, const QString& table, const QString& fileName,
              const TransferProgress& progress)
{
    const QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    const QString sqlTable = sqlTableName(db, table);
    QSqlQuery query(db);
    // Forward only: each row goes straight into the file as its line.
    query.setForwardOnly(true);
    const auto unreadable = [&] {
        return SkelvoError(
            QStringLiteral("%1 テーブルを読めません: %2").arg(table, errorText(query.lastError())));
    };
    const auto run = [&](const QString& sql) {
        if (!query.exec(sql))
            throw unreadable();
    };
    run(QStringLiteral("SELECT COUNT(*) FROM ") + sqlTable);
    progress.begin(query.next() ? query.value(0).toInt() : 0);
    const ColumnsRead columns = columnsToRead(db, table);

    int rows = 0;
    CsvFormat::writeFile(fileName, [&](CsvFormat::LineWriter& writer) {
        run(QStringLiteral("SELECT %1 FROM %2 ORDER BY ct, sb").arg(columns.list, sqlTable));
        writer.writeValues(dataColumnNames());
        const int width = query.record().count();
        const TextReadAsBytes reader(query.record(), columns.textAsBytes);
        QStringList values;
        rows = 0;
        while (query.next()) {
            values.clear();
            for (int field = LogRecord::KeyColumnCount; field < width; ++field)
                values.append(cellText(reader.value(query, field)));
            writer.writeValues(values);
            progress.done(++rows);
        }
        if (query.lastError().isValid())
            throw unreadable();
    });
    return rows;
}

ImportFile readFile(const QString& fileName, const QStringList& tableColumns,
                    const TextLimits& textLimits)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw SkelvoError(QStringLiteral("%1 を開けません: %2").arg(fileName, file.errorString()));
    const QStringList lines = CsvFormat::readLines(file.readAll());

    ImportFile import;
    import.lineCount = int(lines.size());
    import.columns = dataColumnNames();
    for (int i = 0; i < lines.size(); ++i) {
        const int lineNumber = i + 1;
        if (i == 0 && isHeader(lines[i])) {
            // The header is taken as it stands, its names trimmed.
            import.columns.clear();
            for (const QString& name : lines[i].split(u','))
                import.columns.append(name.trimmed());
            // The names go into the statement as they stand, and the store
            // may not say which columns the table has.
            for (const QString& name : import.columns) {
                if (!isPlainName(name))
                    refuse(lineNumber, QStringLiteral("「%1」は列名に使えません。列名は半角の英字、"
                                                      "数字と _ だけの名前です。")
                                           .arg(name));
                if (!tableColumns.isEmpty() && !tableColumns.contains(name, Qt::CaseInsensitive))
                    refuse(lineNumber, QStringLiteral("テーブルに %1 列がありません。").arg(name));
            }
            continue;
        }
        if (lines[i].isEmpty())
            refuse(lineNumber, QStringLiteral("空の行です。"));
        QStringList values = CsvFormat::splitLine(lines[i]);
        if (values.size() != import.columns.size())
            refuse(lineNumber, QStringLiteral("値が %1 個あります (列は %2 個)。")
                                   .arg(values.size())
                                   .arg(import.columns.size()));
        for (qsizetype i = 0; i < values.size(); ++i) {
            if (const QString problem = unstorableValueProblem(
                    import.columns[i], values[i], textLimits.value(import.columns[i].toLower()));
                !problem.isEmpty())
                refuse(lineNumber, problem);
        }
        for (int position : ZeroWhenEmpty) {
            if (position <= values.size() && values[position - 1].isEmpty())
                values[position - 1] = QStringLiteral("0");
        }
        import.rows.append(values);
        import.lineNumbers.append(lineNumber);
    }
    return import;
}

int appendRows(const QString& connectionName, const QString& table, const ImportFile& file,
               int nextCt, const TransferProgress& progress, ExistingRows existing)
{
    progress.begin(file.lineCount);
    BulkInsert insert(connectionName, table,
                      QStringList{QStringLiteral("ct"), QStringLiteral("sb")} + file.columns,
                      dialectOf(QSqlDatabase::database(connectionName, false)), existing);
    QVariantList values;
    for (int i = 0; i < file.rows.size(); ++i) {
        values.clear();
        values << nextCt + i << 0;
        for (const QString& value : file.rows[i])
            values.append(value);
        try {
            insert.insert(values);
        } catch (const SkelvoError& error) {
            refuse(file.lineNumbers[i], error.message());
        }
        progress.done(i + 1);
    }
    insert.finish();
    return int(file.rows.size());
}

} // namespace CsvTransfer
