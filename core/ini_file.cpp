#include "core/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

// Only spaces and tabs count as padding: other white space (an ideographic
// space, a form feed) is part of the text.
QStringView trimBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

bool hasOuterBlank(QStringView text)
{
    return !text.isEmpty() && (isBlank(text.front()) || isBlank(text.back()));
}

// A value in matching quotes has them removed, so padding or quotes that
// belong to the value survive the trimming of a read.
bool isQuoted(QStringView text)
{
    return text.size() >= 2 && isQuote(text.front()) && text.front() == text.back();
}

QString unquote(QStringView text)
{
    return (isQuoted(text) ? text.sliced(1, text.size() - 2) : text).toString();
}

QString quoteIfNeeded(const QString& value)
{
    return hasOuterBlank(value) || isQuoted(value) ? u'"' + value + u'"' : value;
}

// Text that would break the line apart or not come back from UTF-8 as it
// went in (a lone surrogate) cannot be stored.
bool fitsOnOneLine(QStringView text)
{
    return text.isValidUtf16() && !text.contains(u'\r') && !text.contains(u'\n') &&
           !text.contains(QChar(u'\0'));
}

bool isStorableSection(QStringView section)
{
    return fitsOnOneLine(section) && !section.contains(u']') && !hasOuterBlank(section);
}

bool isStorableKey(QStringView key)
{
    return fitsOnOneLine(key) && !key.contains(u'=') && !hasOuterBlank(key) &&
           !key.startsWith(u'[') && !key.startsWith(u';');
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The key, the equals sign and the blanks after it, exactly as they stand,
// so replacing a value keeps the key's spelling and the line's spacing.
QByteArray keyPart(const QByteArray& line)
{
    qsizetype pos = line.indexOf('=') + 1;
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
        ++pos;
    return line.left(pos);
}

// Files the user made read-only are left alone. A rename would replace them
// regardless, and the superuser passes every access check, so the file's
// own write bits decide too.
bool isReadOnly(const QFileInfo& info)
{
    constexpr auto anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return !info.isWritable() || !(info.permissions() & anyWrite);
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray& bytes)
{
    IniDocument document;
    qsizetype pos = 0;
    if (bytes.startsWith(Utf8Bom)) {
        document.bom_ = Utf8Bom;
        pos = Utf8Bom.size();
    }
    while (pos < bytes.size()) {
        const qsizetype newline = bytes.indexOf('\n', pos);
        if (newline < 0) {
            document.lines_.append(parseLine(bytes.sliced(pos), {}));
            break;
        }
        const bool crlf = newline > pos && bytes[newline - 1] == '\r';
        const qsizetype contentEnd = crlf ? newline - 1 : newline;
        document.lines_.append(parseLine(bytes.sliced(pos, contentEnd - pos),
                                         crlf ? QByteArrayLiteral("\r\n") : "\n"));
        pos = newline + 1;
    }
    if (!document.lines_.isEmpty() && document.lines_.first().end == "\r\n")
        document.newLine_ = "\r\n";
    return document;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray bytes = bom_;
    for (const Line& line : lines_)
        bytes += line.bytes + line.end;
    return bytes;
}

IniDocument::Line IniDocument::parseLine(QByteArray bytes, QByteArray end)
{
    Line line;
    line.bytes = std::move(bytes);
    line.end = std::move(end);
    const QString text = QString::fromUtf8(line.bytes);
    const QStringView content = trimBlanks(text);
    if (content.startsWith(u';'))
        return line;
    const qsizetype close = content.indexOf(u']');
    if (content.startsWith(u'[') && close > 0) {
        line.kind = Line::Kind::Section;
        line.name = trimBlanks(content.sliced(1, close - 1)).toString();
        return line;
    }
    const qsizetype equals = content.indexOf(u'=');
    if (equals >= 0) {
        line.kind = Line::Kind::Key;
        line.name = trimBlanks(content.first(equals)).toString();
        line.value = unquote(trimBlanks(content.sliced(equals + 1)));
    }
    return line;
}

std::optional<IniDocument::Range> IniDocument::findSection(QStringView section) const
{
    qsizetype header = 0;
    while (header < lines_.size() &&
           !(lines_[header].kind == Line::Kind::Section && sameName(lines_[header].name, section)))
        ++header;
    if (header == lines_.size())
        return std::nullopt;
    qsizetype end = header + 1;
    while (end < lines_.size() && lines_[end].kind != Line::Kind::Section)
        ++end;
    return Range{header + 1, end};
}

qsizetype IniDocument::findKey(Range range, QStringView key) const
{
    for (qsizetype i = range.begin; i < range.end; ++i) {
        if (lines_[i].kind == Line::Kind::Key && sameName(lines_[i].name, key))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const std::optional<Range> range = findSection(section);
    const qsizetype index = range ? findKey(*range, key) : -1;
    if (index < 0)
        return std::nullopt;
    return lines_[index].value;
}

QList<QPair<QString, QString>> IniDocument::entries(QStringView section) const
{
    QList<QPair<QString, QString>> result;
    const std::optional<Range> range = findSection(section);
    if (!range)
        return result;
    for (qsizetype i = range->begin; i < range->end; ++i) {
        if (lines_[i].kind == Line::Kind::Key)
            result.append({lines_[i].name, lines_[i].value});
    }
    return result;
}

void IniDocument::insertLine(qsizetype index, const QByteArray& bytes)
{
    if (index == lines_.size() && !lines_.isEmpty() && lines_.last().end.isEmpty()) {
        // A CR at the end of the last line is its text; an LF right after it
        // would turn it into a line end and change the line's value.
        Line& last = lines_.last();
        last.end = last.bytes.endsWith('\r') ? QByteArrayLiteral("\r\n") : newLine_;
    }
    lines_.insert(index, parseLine(bytes, newLine_));
}

bool IniDocument::setValue(QStringView section, QStringView key, const QString& value)
{
    if (!isStorableSection(section) || !isStorableKey(key) || !fitsOnOneLine(value))
        return false;
    const QByteArray storedValue = quoteIfNeeded(value).toUtf8();
    const QByteArray keyLine = key.toUtf8() + '=' + storedValue;
    const std::optional<Range> range = findSection(section);
    if (!range) {
        insertLine(lines_.size(), '[' + section.toUtf8() + ']');
        insertLine(lines_.size(), keyLine);
        return true;
    }
    const qsizetype existing = findKey(*range, key);
    if (existing >= 0) {
        Line& line = lines_[existing];
        line = parseLine(keyPart(line.bytes) + storedValue, line.end);
        return true;
    }
    // After the section's last key, so blank lines that part it from the
    // next section stay where they are.
    qsizetype after = range->end;
    while (after > range->begin && lines_[after - 1].kind != Line::Kind::Key)
        --after;
    insertLine(after, keyLine);
    return true;
}

void IniDocument::removeKey(QStringView section, QStringView key)
{
    const std::optional<Range> range = findSection(section);
    if (!range)
        return;
    // Every line of the key goes, so no shadowed duplicate turns up in its place.
    qsizetype index = findKey(*range, key);
    qsizetype end = range->end;
    while (index >= 0) {
        lines_.removeAt(index);
        --end;
        index = findKey(Range{index, end}, key);
    }
}

IniDocument readIniFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return IniDocument::fromBytes(file.readAll());
}

bool writeIniFile(const QString& path, const IniDocument& document)
{
    const QFileInfo info(path);
    if (info.exists() && isReadOnly(info))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = document.toBytes();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
