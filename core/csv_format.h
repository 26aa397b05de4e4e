#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The CSV format in which logbooks move between stores and editions: one
// record a line, values separated by commas, a value quoted only when it
// holds a double quote, a comma, a blank or a control character.
namespace CsvFormat {

// A value as written: in double quotes, inner ones doubled, when it holds
// a double quote, a comma or a character from U+0001 to U+0020; as it
// stands otherwise.
QString formatValue(const QString& value);
QString formatLine(const QStringList& values);

// A line's values: blanks and control characters around values are
// skipped; a quoted value runs to its closing quote (a doubled quote
// standing for one) or to the end of the line; an unquoted value ends at a
// comma or a blank; a comma at the end gives a final empty value and an
// empty line gives none.
QStringList splitLine(QStringView line);

// A file's lines without their ends (CR LF, LF or a lone CR), decoded by
// byte-order mark (UTF-8, UTF-16) or else as CP932. Bytes that do not
// decode raise SkelvoError naming the line.
QStringList readLines(const QByteArray& bytes);

// The file's bytes for lines, each ended by CR LF: CP932, or UTF-8 with a
// byte-order mark when a line holds a character CP932 lacks, so that no
// character is lost on the way.
QByteArray fileBytes(const QStringList& lines);

// Replaces the file with the lines, only once they are all written; raises
// SkelvoError when it cannot.
void writeFile(const QString& fileName, const QStringList& lines);

} // namespace CsvFormat
