#include "tests/paradox/paradox_test_support.h"

#include "paradox/table_header.h"
#include "tests/paradox/pxlib_reader.h"
#include "tests/testsupport/qt_printers.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace paradoxtest {

QString samplesFolder()
{
    const QString folder =
        QDir::cleanPath(QStringLiteral(SKELVO_SOURCE_DIR "/../shared/paradox-samples"));
    if (!QDir(folder).exists())
        ADD_FAILURE() << "the sample tables are missing: " << folder.toStdString()
                      << " (the shared folder must be beside the clone)";
    return folder;
}

QString copySample(const testsupport::TempFolder& folder, const QString& fileName)
{
    const QDir samples(samplesFolder());
    const QString base = QFileInfo(fileName).completeBaseName();
    for (const QString& entry : samples.entryList({base + QStringLiteral(".*")}, QDir::Files)) {
        QFile source(samples.filePath(entry));
        if (!source.open(QIODevice::ReadOnly))
            ADD_FAILURE() << "cannot read " << entry.toStdString();
        folder.writeFile(entry, source.readAll());
    }
    return folder.filePath(fileName);
}

QList<paradox::Row> valuesOf(const QList<paradox::Record>& records)
{
    QList<paradox::Row> rows;
    for (const paradox::Record& record : records)
        rows.append(record.values);
    return rows;
}

void expectPxlibReadsTheSame(const QString& tablePath)
{
    const paradox::Table table = paradox::Table::open(tablePath);
    const PxlibTable reference = readWithPxlib(tablePath);
    EXPECT_EQ(reference.errors, QStringList());
    ASSERT_EQ(reference.fields.size(), table.fields().size());
    for (qsizetype i = 0; i < reference.fields.size(); ++i) {
        SCOPED_TRACE(reference.fields[i].name.toStdString());
        EXPECT_EQ(table.fields()[i].name, reference.fields[i].name);
        EXPECT_EQ(table.fields()[i].type, reference.fields[i].type);
        EXPECT_EQ(table.fields()[i].size, reference.fields[i].size);
    }
    EXPECT_EQ(table.info().recordCount, reference.recordCount);
    const QList<paradox::Record> records = table.readAll();
    ASSERT_EQ(records.size(), reference.records.size());
    for (qsizetype r = 0; r < records.size(); ++r) {
        SCOPED_TRACE("record " + std::to_string(r));
        EXPECT_EQ(records[r].position, reference.records[r].position);
        for (qsizetype i = 0; i < reference.fields.size(); ++i) {
            if (!paradox::codec::isBlobType(reference.fields[i].type)) {
                EXPECT_EQ(records[r].values[i], reference.records[r].values[i])
                    << reference.fields[i].name.toStdString();
            }
        }
    }
}

} // namespace paradoxtest

void PrintTo(const QVariant& value, std::ostream* out)
{
    if (!value.isValid()) {
        *out << "null";
        return;
    }
    QString text = value.typeId() == QMetaType::QDateTime
                       ? value.toDateTime().toString(Qt::ISODateWithMs)
                       : value.toString();
    *out << value.typeName() << "(" << text.toStdString() << ")";
}
