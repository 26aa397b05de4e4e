#include "core/grid_layout.h"

#include "core/csv_format.h"
#include "core/error.h"

#include <QFile>
#include <optional>

namespace GridLayout {
namespace {

// The text up to the next ";", taken off the line; without one, nothing is
// taken and the piece is empty (so a line without fields fails on its
// width).
QString takePiece(QString& line)
{
    const qsizetype separator = line.indexOf(u';');
    if (separator < 0)
        return {};
    const QString piece = line.left(separator);
    line.remove(0, separator + 1);
    return piece;
}

std::optional<int> decimal(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString notAnInteger(int line, const QString& text)
{
    return QStringLiteral("%1 行目:「%2」は正しい整数ではありません。").arg(line).arg(text);
}

} // namespace

bool isLayoutFileName(const QString& fileName)
{
    return fileName.endsWith(QStringLiteral(".cdf"), Qt::CaseInsensitive);
}

QString formatLine(const GridColumn& column)
{
    // One arg() call: a title or field name holding "%1" must stay as it is.
    return QStringLiteral("%1;%2;%3;%4")
        .arg(QString::number(column.visible ? column.width : -1), column.title, column.fieldName,
             QString::number(column.imeMode));
}

void writeFile(const QString& fileName, const QList<GridColumn>& columns)
{
    QStringList lines;
    for (const GridColumn& column : columns)
        lines.append(formatLine(column));
    CsvFormat::writeFile(fileName, lines);
}

QStringList readFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw SkelvoError(QStringLiteral("%1 を開けません: %2").arg(fileName, file.errorString()));
    return CsvFormat::readLines(file.readAll());
}

Applied applyLines(QList<GridColumn> columns, const QStringList& lines)
{
    Applied applied;
    const qsizetype count = std::min(lines.size(), columns.size());
    for (qsizetype i = 0; i < count; ++i) {
        const int lineNumber = int(i) + 1;
        QString line = lines[i];
        GridColumn& column = columns[i];
        const QString widthText = takePiece(line);
        const std::optional<int> width = decimal(widthText);
        if (!width) {
            applied.error = notAnInteger(lineNumber, widthText);
            break;
        }
        column.visible = *width != -1;
        if (column.visible)
            column.width = *width; // a hidden column keeps the width it had
        column.title = takePiece(line);
        column.fieldName = takePiece(line);
        const std::optional<int> mode = decimal(line);
        if (!mode) {
            applied.error = notAnInteger(lineNumber, line);
            break;
        }
        column.imeMode = *mode;
        if (column.visible && applied.firstShown < 0)
            applied.firstShown = int(i);
    }
    applied.columns = columns;
    return applied;
}

QString titleProblem(const QString& title)
{
    if (title.contains(u';'))
        return QStringLiteral(
            "項目名に「;」は使えません。表示条件ファイルに保存できなくなります。");
    return {};
}

} // namespace GridLayout
