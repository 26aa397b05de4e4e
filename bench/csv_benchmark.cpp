// Moving a logbook through the CSV file on each store, next to baselines
// in the same run: importing against a raw transaction of the same INSERTs
// through Qt SQL, exporting against a forward-only read that writes the same
// file. Medians of three runs:
//   bench/csv_benchmark [rows]...   (through scripts/bench.sh)
#include "bench/bench_stores.h"
#include "bench/project_run.h"
#include "core/csv_format.h"
#include "core/log_record.h"
#include "core/text_encoding.h"
#include "data/statement_values.h"
#include "data/text_bytes.h"
#include "db/csv_transfer.h"
#include "db/store_connections.h"
#include "db/store_dialects.h"
#include "db/table_management.h"

#include <QFile>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

const QString Table = QStringLiteral("bench_log");

// Rows as an operator's logbook holds them: Japanese names and places,
// HH:MM times and totals, a remark now and then.
QList<QStringList> logbookRows(int count)
{
    const char* crews[] = {"山田太郎", "佐藤花子", "鈴木一郎"};
    const char* fields[] = {"大利根", "福島", "板倉"};
    QList<QStringList> rows;
    for (int i = 0; i < count; ++i) {
        QStringList values(40);
        values[0] = "JA2401";
        values[1] = QString::number(2000 + i / 1500);
        values[2] = QString::asprintf("%02d%02d", i / 120 % 12 + 1, i / 4 % 28 + 1);
        values[3] = "0";
        values[4] = QString::fromUtf8(crews[i % 3]);
        values[5] = QStringLiteral("慣熟飛行");
        values[6] = QString::fromUtf8(fields[i % 3]);
        values[7] = QString::fromUtf8(fields[(i + 1) % 3]);
        for (int t = 8; t < 12; ++t)
            values[t] = QString::asprintf("%02d:%02d", 9 + t - 8, i % 60);
        for (int flag : {12, 19, 20, 21, 28, 29, 30, 37, 38})
            values[flag] = "0";
        values[13] = "00:40";
        values[14] = "00:30";
        values[15] = QStringLiteral("%1:30").arg(1000 + i / 2);
        values[16] = QStringLiteral("%1:00").arg(i / 2);
        values[17] = values[4];
        values[18] = i % 10 ? QString() : QStringLiteral("100時間点検, 異常なし");
        for (int t : {23, 24, 32, 33})
            values[t] = "00:30";
        values[25] = values[34] = QStringLiteral("%1:30").arg(800 + i / 2);
        values[26] = values[35] = QStringLiteral("%1:00").arg(i / 3);
        rows.append(values);
    }
    return rows;
}

// The same INSERTs as the import's, values bound (as literals through
// ODBC), made before the clock runs.
double rawInsertsMs(QSqlDatabase db, const QList<QStringList>& rows,
                    const std::function<void()>& empty)
{
    const QStringList columns = QStringList{"ct", "sb"} + CsvTransfer::dataColumnNames();
    const StatementValues values(dialectOf(db).literal);
    const QString head =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (").arg(Table, columns.join(u','));
    QStringList literalStatements;
    if (values.asLiterals()) {
        for (int i = 0; i < rows.size(); ++i) {
            QStringList literals{QString::number(i + 1), "0"};
            for (const QString& value : rows[i])
                literals.append(values.literal(value));
            literalStatements.append(head + literals.join(u',') + u')');
        }
    }
    return medianMs(
        [&] {
            const bool transaction = db.transaction();
            QSqlQuery query(db);
            if (values.asLiterals()) {
                for (const QString& statement : literalStatements)
                    bench::exec(query, statement);
            } else {
                query.prepare(head + QStringList(columns.size(), "?").join(u',') + u')');
                for (int i = 0; i < rows.size(); ++i) {
                    query.bindValue(0, i + 1);
                    query.bindValue(1, 0);
                    for (int v = 0; v < 40; ++v)
                        query.bindValue(v + 2, rows[i][v]);
                    if (!query.exec())
                        throw std::runtime_error(query.lastError().text().toStdString());
                }
            }
            if (transaction)
                db.commit();
        },
        empty);
}

// The same read as the export's written as the same file the plainest way:
// each row's cells quoted where they must be, the line encoded as CP932
// and written through a buffered file that replaces the old one at the end.
double rawReadWriteMs(QSqlDatabase db, const QString& fileName)
{
    return medianMs([&] {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        // The same statement as the export's: through ODBC to MySQL, texts
        // can only be read right as their bytes.
        const ColumnsRead columns = columnsToRead(db, Table);
        bench::exec(query, "SELECT " + columns.list + " FROM " + Table + " ORDER BY ct, sb");
        const int width = query.record().count();
        const TextReadAsBytes reader(query.record(), columns.textAsBytes);
        QSaveFile file(fileName);
        if (!file.open(QIODevice::WriteOnly))
            throw std::runtime_error("the raw export cannot open its file");
        file.write(CsvTransfer::dataColumnNames().join(u',').toLatin1() + "\r\n");
        QString line;
        while (query.next()) {
            line.resize(0); // its room kept, as the export keeps it
            for (int i = LogRecord::KeyColumnCount; i < width; ++i) {
                const QVariant value = reader.value(query, i);
                const QString text = value.typeId() == QMetaType::Bool
                                         ? QString::number(int(value.toBool()))
                                         : value.toString();
                const bool quoted = std::any_of(text.begin(), text.end(), [](QChar c) {
                    return c == u'"' || c == u',' || (c.unicode() >= 1 && c.unicode() <= 32);
                });
                if (i > LogRecord::KeyColumnCount)
                    line += u',';
                if (quoted)
                    line += u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
                else
                    line += text;
            }
            file.write(TextEncoding::encode(line, "CP932") + "\r\n");
        }
        if (!file.commit())
            throw std::runtime_error("the raw export cannot write its file");
    });
}

QByteArray fileContents(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + fileName.toStdString());
    return file.readAll();
}

// Imports first, so that the export has the rows.
void measure(const bench::Store& store, const QString& csvFile, const QList<QStringList>& rows)
{
    bench::StoreTable table(store, Table);
    const QString connection = table.connectionName();
    const auto empty = [&] { TableManagement::EmptyLogTable(table.connections()); };

    // A run that moved fewer rows would time less work.
    const auto check = [&](int moved) {
        if (moved != rows.size())
            throw std::runtime_error("the CSV file moved " + std::to_string(moved) + " rows");
    };
    const bench::ProjectRun import = bench::runProject(
        [&] {
            const CsvTransfer::ImportFile file = CsvTransfer::readFile(csvFile, {});
            check(CsvTransfer::appendRows(connection, Table, file, 1, {}));
        },
        empty);
    const double rawImportMs = rawInsertsMs(table.database(), rows, empty);
    bench::print(
        {"CSV import", store.name, int(rows.size()), import.ms, rawImportMs, import.peakBytes});

    const bench::ProjectRun exported = bench::runProject(
        [&] { check(CsvTransfer::writeFile(connection, Table, csvFile + ".out", {})); });
    const double rawExportMs = rawReadWriteMs(table.database(), csvFile + ".raw");
    // A baseline that wrote other bytes would time other work.
    if (fileContents(csvFile + ".raw") != fileContents(csvFile + ".out"))
        throw std::runtime_error("the raw export wrote another file than the export");
    bench::print(
        {"CSV export", store.name, int(rows.size()), exported.ms, rawExportMs, exported.peakBytes});
}

} // namespace

int main(int argc, char** argv)
{
    return bench::runAtEachSize(argc, argv, [](int count) {
        QTemporaryDir folder;
        const QList<QStringList> rows = logbookRows(count);
        QStringList lines{CsvFormat::formatLine(CsvTransfer::dataColumnNames())};
        for (const QStringList& row : rows)
            lines.append(CsvFormat::formatLine(row));
        const QString csv = folder.filePath("logbook.csv");
        CsvFormat::writeFile(csv, lines);
        for (const bench::Store& store : bench::chosenStores())
            measure(store, csv, rows);
    });
}
