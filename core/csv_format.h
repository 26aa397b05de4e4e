#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

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

// Lines going out encoded as the file holds them, each ended by CR LF.
class LineWriter
{
public:
    enum class Encoding
    {
        Cp932,
        Utf8WithMark
    };
    LineWriter(QIODevice& device, Encoding encoding);
    void write(const QString& line);
    void writeValues(const QStringList& values); // as formatLine has them

private:
    QIODevice& device_;
    Encoding encoding_;
    QString line_;
};

// Replaces the file with the lines that writeLines gives its writer, only
// once they are all written; raises SkelvoError when it cannot. The lines
// are written as they come, none of them kept: when one holds a character
// CP932 lacks, writeLines is called again and gives them all from the first,
// to be written as UTF-8.
void writeFile(const QString& fileName, const std::function<void(LineWriter&)>& writeLines);
void writeFile(const QString& fileName, const QStringList& lines);

} // namespace CsvFormat
