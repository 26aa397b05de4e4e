// Writes the first inputs of the Paradox table fuzz target into a folder:
// tables the codec writes itself, and the tables of any sample folders named.
//   paradox_table_seeds OUT-FOLDER [SAMPLE-FOLDER...]
#include "core/error.h"
#include "fuzz/table_input.h"
#include "paradox/paradox_table.h"
#include "paradox/table_files.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using paradox::FieldType;

namespace {

QByteArray readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SkelvoError(QStringLiteral("%1 を読めません。").arg(path));
    return file.readAll();
}

tableinput::TableFiles tableFiles(const QString& tablePath)
{
    const QString memoPath = paradox::codec::existingMemoPath(tablePath);
    return {readFile(tablePath), memoPath.isEmpty() ? QByteArray() : readFile(memoPath)};
}

void writeSeed(const QString& folder, const QString& name, const tableinput::TableFiles& files)
{
    QFile seed(QDir(folder).filePath(name));
    const QByteArray bytes = tableinput::pack(files);
    if (!seed.open(QIODevice::WriteOnly) || seed.write(bytes) != bytes.size())
        throw SkelvoError(QStringLiteral("%1 に書けません。").arg(seed.fileName()));
}

const QList<paradox::Field> everyWrittenType = {
    {QStringLiteral("alpha"), FieldType::Alpha, 12},
    {QStringLiteral("short"), FieldType::Short, 0},
    {QStringLiteral("long"), FieldType::Long, 0},
    {QStringLiteral("auto"), FieldType::AutoIncrement, 0},
    {QStringLiteral("logical"), FieldType::Logical, 0},
    {QStringLiteral("number"), FieldType::Number, 0},
    {QStringLiteral("currency"), FieldType::Currency, 0},
    {QStringLiteral("date"), FieldType::Date, 0},
    {QStringLiteral("time"), FieldType::Time, 0},
    {QStringLiteral("stamp"), FieldType::Timestamp, 0},
    {QStringLiteral("memo"), FieldType::Memo, 10 + 10},
};

// Rows with every value set, every value null, and memo text both within
// the record's leader and beyond it in the memo file.
QList<paradox::Row> sampleRows()
{
    const QDateTime when(QDate(2023, 4, 1), QTime(9, 30, 15));
    const QString longText = QStringLiteral("滑空 %1 ").repeated(200);
    return {
        {QStringLiteral("JA2345"),
         12,
         -70000,
         {},
         true,
         1.5,
         1234.25,
         when.date(),
         when.time(),
         when,
         QStringLiteral("短い")},
        paradox::Row(everyWrittenType.size()),
        {QStringLiteral("曳航"),
         -1,
         1,
         {},
         false,
         -0.0,
         0.0,
         QDate(1, 1, 1),
         QTime(0, 0),
         QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)),
         longText},
    };
}

void writeCodecTables(const QString& outFolder)
{
    const QTemporaryDir work;
    const QString emptyPath = work.filePath(QStringLiteral("EMPTY.DB"));
    paradox::Table::create(emptyPath, everyWrittenType);
    writeSeed(outFolder, QStringLiteral("codec-empty"), tableFiles(emptyPath));

    const QString filledPath = work.filePath(QStringLiteral("FILLED.DB"));
    paradox::Table filled = paradox::Table::create(filledPath, everyWrittenType);
    for (paradox::Row row : sampleRows())
        filled.append(row);
    writeSeed(outFolder, QStringLiteral("codec-filled"), tableFiles(filledPath));
}

void writeSampleTables(const QString& outFolder, const QString& sampleFolder)
{
    const QDir samples(sampleFolder);
    for (const QString& name : samples.entryList({QStringLiteral("*.db")}, QDir::Files))
        writeSeed(outFolder, QStringLiteral("sample-") + name, tableFiles(samples.filePath(name)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT-FOLDER [SAMPLE-FOLDER...]\n", argv[0]);
        return 2;
    }
    try {
        const QString outFolder = QString::fromLocal8Bit(argv[1]);
        QDir().mkpath(outFolder);
        writeCodecTables(outFolder);
        for (int i = 2; i < argc; ++i)
            writeSampleTables(outFolder, QString::fromLocal8Bit(argv[i]));
    } catch (const SkelvoError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
