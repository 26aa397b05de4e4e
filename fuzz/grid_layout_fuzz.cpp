// Grid layout files (.CDF), which users copy between machines: any file
// applies to the grid's columns or stops at a bad line, and the columns it
// gives are written to a file that gives them back.
#include "core/error.h"
#include "core/grid_columns.h"
#include "core/grid_layout.h"
#include "fuzz/fuzz_support.h"

using fuzzsupport::require;

namespace {

// The columns as the grid hands them over: a shown column always has the
// width it has on screen, never the -1 that stands for a hidden one.
QList<GridColumn> gridColumns()
{
    constexpr int derivedWidth = 64;
    QList<GridColumn> columns;
    for (const GridColumns::DefaultColumn& column : GridColumns::defaults())
        columns.append(
            {column.fieldName, column.fieldName, column.width < 0 ? derivedWidth : column.width});
    return columns;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QList<GridColumn> columns = gridColumns();
    const QString file =
        fuzzsupport::scratchFile(QStringLiteral("layout.CDF"),
                                 QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    GridLayout::Applied applied;
    try {
        applied = GridLayout::applyLines(columns, GridLayout::readFile(file));
    } catch (const SkelvoError&) {
        return 0;
    }
    require(applied.columns.size() == columns.size(), "a layout keeps the number of columns");

    GridLayout::writeFile(file, applied.columns);
    const GridLayout::Applied again = GridLayout::applyLines(columns, GridLayout::readFile(file));
    require(again.error.isEmpty(), "a written layout has no bad line");
    require(again.columns == applied.columns, "a written layout gives the same columns");
    return 0;
}
