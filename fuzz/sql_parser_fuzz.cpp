// The folder store's SQL subset: any text is a statement or a SkelvoError.
#include "core/error.h"
#include "paradox/sql_parser.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        paradox::sql::parseStatement(
            QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)));
    } catch (const SkelvoError&) {
    }
    return 0;
}
