#include "core/csv_format.h"

#include "core/error.h"
#include "core/text_encoding.h"

#include <QBuffer>
#include <QSaveFile>
#include <algorithm>

namespace CsvFormat {
namespace {

// Blanks and control characters: they end an unquoted value and are
// skipped around values.
bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

void skipBlanks(QStringView line, qsizetype& at)
{
    while (at < line.size() && isBlank(line[at]))
        ++at;
}

QString quotedValue(QStringView line, qsizetype& at)
{
    QString value;
    ++at; // the opening quote
    while (at < line.size()) {
        if (line[at] != u'"') {
            value += line[at++];
        } else if (at + 1 < line.size() && line[at + 1] == u'"') {
            value += u'"';
            at += 2;
        } else {
            ++at; // the closing quote
            break;
        }
    }
    return value;
}

QStringList splitIntoLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// Decoding failed: names the first line that does not decode. Line ends
// are single bytes in CP932 and UTF-8 alike.
[[noreturn]] void raiseUndecodable(const QByteArray& bytes)
{
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (!utf16) {
        const QByteArray body = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
        const bool utf8 = body.size() != bytes.size();
        int line = 1;
        qsizetype start = 0;
        for (qsizetype i = 0; i <= body.size(); ++i) {
            if (i < body.size() && body[i] != '\r' && body[i] != '\n')
                continue;
            const QByteArray piece = body.mid(start, i - start);
            try {
                TextEncoding::decode(piece, utf8 ? "UTF-8" : "CP932");
            } catch (const SkelvoError&) {
                throw SkelvoError(
                    QStringLiteral("%1 行目の文字を読めません (%2 ではありません)。")
                        .arg(line)
                        .arg(utf8 ? QStringLiteral("UTF-8") : QStringLiteral("CP932")));
            }
            if (i < body.size() && body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
            ++line;
            start = i + 1;
        }
    }
    throw SkelvoError(QStringLiteral("ファイルの文字コードが正しくありません。"));
}

// A line holds a character CP932 lacks: the lines go again, as UTF-8.
struct LacksCp932
{
};

// The device refused bytes; its error string says why.
struct WriteFailed
{
};

// Gives the lines once as CP932 and, when one of them cannot be, again from
// the first as UTF-8 with its mark, so that no character is lost.
void inEitherEncoding(const std::function<void(LineWriter::Encoding)>& attempt)
{
    try {
        attempt(LineWriter::Encoding::Cp932);
    } catch (const LacksCp932&) {
        attempt(LineWriter::Encoding::Utf8WithMark);
    }
}

void appendLine(QString& line, const QStringList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += u',';
        line += formatValue(values[i]);
    }
}

} // namespace

QString formatValue(const QString& value)
{
    const bool quoted = std::any_of(value.begin(), value.end(),
                                    [](QChar c) { return c == u'"' || c == u',' || isBlank(c); });
    if (!quoted)
        return value;
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QString formatLine(const QStringList& values)
{
    QString line;
    appendLine(line, values);
    return line;
}

QStringList splitLine(QStringView line)
{
    QStringList values;
    qsizetype at = 0;
    skipBlanks(line, at);
    while (at < line.size()) {
        if (line[at] == u'"') {
            values.append(quotedValue(line, at));
        } else {
            const qsizetype start = at;
            while (at < line.size() && !isBlank(line[at]) && line[at] != u',')
                ++at;
            values.append(line.mid(start, at - start).toString());
        }
        skipBlanks(line, at);
        if (at < line.size() && line[at] == u',') {
            ++at;
            if (at == line.size())
                values.append(QString());
            skipBlanks(line, at);
        }
    }
    return values;
}

QStringList readLines(const QByteArray& bytes)
{
    QString text;
    try {
        text = TextEncoding::decodeExternalText(bytes);
    } catch (const SkelvoError&) {
        raiseUndecodable(bytes);
    }
    return splitIntoLines(text);
}

LineWriter::LineWriter(QIODevice& device, Encoding encoding) : device_(device), encoding_(encoding)
{
    if (encoding_ == Encoding::Utf8WithMark && device_.write("\xEF\xBB\xBF") < 0)
        throw WriteFailed{};
}

void LineWriter::write(const QString& line)
{
    QByteArray bytes;
    if (encoding_ == Encoding::Utf8WithMark) {
        bytes = line.toUtf8();
    } else {
        try {
            bytes = TextEncoding::encodeCp932(line);
        } catch (const SkelvoError&) {
            throw LacksCp932{};
        }
    }
    bytes += "\r\n";
    if (device_.write(bytes) < 0)
        throw WriteFailed{};
}

void LineWriter::writeValues(const QStringList& values)
{
    // The line's room is kept from one to the next: an export writes one
    // for every row.
    line_.resize(0);
    appendLine(line_, values);
    write(line_);
}

QByteArray fileBytes(const QStringList& lines)
{
    QByteArray bytes;
    inEitherEncoding([&](LineWriter::Encoding encoding) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        LineWriter writer(buffer, encoding);
        for (const QString& line : lines)
            writer.write(line);
    });
    return bytes;
}

void writeFile(const QString& fileName, const std::function<void(LineWriter&)>& writeLines)
{
    inEitherEncoding([&](LineWriter::Encoding encoding) {
        QSaveFile file(fileName);
        try {
            if (!file.open(QIODevice::WriteOnly))
                throw WriteFailed{};
            LineWriter writer(file, encoding);
            writeLines(writer);
            if (!file.commit())
                throw WriteFailed{};
        } catch (const WriteFailed&) {
            throw SkelvoError(
                QStringLiteral("%1 に書き込めません: %2").arg(fileName, file.errorString()));
        }
    });
}

void writeFile(const QString& fileName, const QStringList& lines)
{
    writeFile(fileName, [&](LineWriter& writer) {
        for (const QString& line : lines)
            writer.write(line);
    });
}

} // namespace CsvFormat
