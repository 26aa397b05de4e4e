// CSV files brought in from anywhere: any bytes are lines or a SkelvoError,
// and the lines and values read are written back so that they read the same.
#include "core/csv_format.h"
#include "core/error.h"
#include "fuzz/fuzz_support.h"

using fuzzsupport::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QStringList lines;
    try {
        lines =
            CsvFormat::readLines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const SkelvoError&) {
        return 0;
    }
    require(CsvFormat::readLines(CsvFormat::fileBytes(lines)) == lines,
            "lines written read back the same");
    for (const QString& line : lines) {
        const QStringList values = CsvFormat::splitLine(line);
        // One empty value is written as an empty line, which holds no value.
        if (values == QStringList{QString()})
            continue;
        require(CsvFormat::splitLine(CsvFormat::formatLine(values)) == values,
                "values written read back the same");
    }
    return 0;
}
