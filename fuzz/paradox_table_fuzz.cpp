// Paradox tables from other programs, or damaged on disk: any table file
// and memo file open and read, or raise SkelvoError.
#include "core/error.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/table_input.h"
#include "paradox/paradox_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const tableinput::TableFiles files =
        tableinput::unpack(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QString memoName = QStringLiteral("FUZZ.MB");
    if (files.memo.isEmpty())
        fuzzsupport::removeScratchFile(memoName);
    else
        fuzzsupport::scratchFile(memoName, files.memo);
    try {
        const paradox::Table table =
            paradox::Table::open(fuzzsupport::scratchFile(QStringLiteral("FUZZ.DB"), files.table));
        table.readAll();
    } catch (const SkelvoError&) {
    }
    return 0;
}
