#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One column of the log grid as a layout file keeps it.
struct GridColumn
{
    QString fieldName;
    QString title;
    int width = -1; // pixels; -1: as the grid derives it from the field
    bool visible = true;
    int imeMode = 0; // the input-method mode code, 0 (imDisable) to 11

    bool operator==(const GridColumn&) const = default;
};

// Grid layout files (".CDF"): one line per grid column in display order,
// "width;title;field;input-method mode", -1 as the width of a hidden
// column; CP932 with CR LF, read by byte-order mark else as CP932.
namespace GridLayout {

QString formatLine(const GridColumn& column);
// Whether a path names a layout file (.CDF in any letter case): a name read
// from the settings file is written to only then, never to any other file.
bool isLayoutFileName(const QString& fileName);
// Writes the columns; raises SkelvoError when the file cannot be written.
void writeFile(const QString& fileName, const QList<GridColumn>& columns);
// The file's lines; raises SkelvoError when it cannot be read or decoded.
QStringList readFile(const QString& fileName);

// The columns with the lines applied in order, line i to column i: its
// width (-1 hides it, keeping the width it had), title, field and mode.
// Lines beyond the columns are ignored; columns beyond the lines keep
// theirs. A bad line (a width or mode that is not a decimal integer, an
// empty line) stops there: the lines before it stay applied and error
// names the line.
struct Applied
{
    QList<GridColumn> columns;
    int firstShown = -1; // the first column shown after its line was applied
    QString error;
};
Applied applyLines(QList<GridColumn> columns, const QStringList& lines);

// Why a title cannot be kept in a layout file, empty when it can: the
// format has no quoting, so a ";" would split the line.
QString titleProblem(const QString& title);

} // namespace GridLayout
