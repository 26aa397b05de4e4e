#include "core/settings_file.h"

#include "core/ini_file.h"
#include "core/numeric_text.h"

#include <QFile>
#include <QLockFile>
#include <limits>
#include <optional>

namespace MyutyFiles {

namespace {

constexpr qsizetype MaxReadLength = 2047;
// Long enough to outlast another instance's write, short enough that a
// stuck lock does not freeze the window for long.
constexpr int LockTimeoutMs = 3000;

// Reads and writes report trouble by their result, never by an exception
// (not even an allocation failure), since the callers carry on regardless.
template <typename T, typename F> T withoutThrowing(T fallback, F&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

// A missing file is an empty document; a file that is there but cannot be
// read is a failure, so a write never replaces settings it could not see.
std::optional<IniDocument> loadDocument(const QString& path)
{
    QFile file(path);
    if (!file.exists())
        return IniDocument{};
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return IniDocument::fromBytes(bytes);
}

// One read-modify-write of the file, locked against another instance of the
// program doing the same, so neither loses the other's change.
template <typename Edit> bool editFile(const QString& path, Edit&& edit)
{
    if (path.isEmpty())
        return false;
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(LockTimeoutMs))
        return false;
    std::optional<IniDocument> document = loadDocument(path);
    return document && edit(*document) && writeIniFile(path, *document);
}

std::optional<QString> readValue(const QString& path, const QString& section, const QString& key)
{
    return readIniFile(path).value(section, key);
}

QString truncated(QString text)
{
    if (text.size() <= MaxReadLength)
        return text;
    qsizetype length = MaxReadLength;
    if (text[length - 1].isHighSurrogate() && text[length].isLowSurrogate())
        --length; // never half a character
    text.truncate(length);
    return text;
}

// An optional sign and decimal digits, within the range of int.
std::optional<int> parseDecimal(QStringView text)
{
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    if (text.isEmpty())
        return std::nullopt;
    qint64 magnitude = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c.unicode() - u'0');
        if (magnitude > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

// Up to eight hexadecimal digits, taken as a 32-bit pattern: 0xFFFFFFFF is -1.
std::optional<int> parseHexadecimal(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    quint32 value = 0;
    for (QChar c : digits) {
        const qsizetype digit = QStringView(u"0123456789abcdef").indexOf(c, 0, Qt::CaseInsensitive);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + quint32(digit);
    }
    return static_cast<int>(value);
}

std::optional<int> parseInteger(QStringView text)
{
    if (text.startsWith(u"0x") || text.startsWith(u"0X"))
        return parseHexadecimal(text.sliced(2));
    return parseDecimal(text);
}

// A key belongs to a list when it contains the list's name and the text from
// the name's length onward starts like a number: crew0, crew1x and crew+ do,
// crew and crewX do not.
bool belongsToList(const QString& key, const QString& listName)
{
    return key.contains(listName) &&
           Myutyfunc::IsNumericText(QStringView(key).sliced(listName.size()));
}

QString entryKey(const QString& listName, qsizetype index)
{
    return listName + QString::number(index);
}

// The section's entry count bounds the indices of every list the program
// wrote; the second pass catches keys added by hand.
void removeListEntries(IniDocument& document, const QString& section, const QString& listName)
{
    const QList<QPair<QString, QString>> entries = document.entries(section);
    for (qsizetype i = 0; i < entries.size(); ++i)
        document.removeKey(section, entryKey(listName, i));
    for (const auto& entry : entries) {
        if (belongsToList(entry.first, listName))
            document.removeKey(section, entry.first);
    }
}

int writeValue(const QString& path, const QString& section, const QString& key,
               const QString& value)
{
    return withoutThrowing(-1, [&] {
        const bool written = editFile(
            path, [&](IniDocument& document) { return document.setValue(section, key, value); });
        return written ? 0 : -1;
    });
}

} // namespace

QString IniReadString(const QString& path, const QString& section, const QString& key,
                      const QString& defaultValue)
{
    return withoutThrowing(defaultValue, [&] {
        return truncated(readValue(path, section, key).value_or(defaultValue));
    });
}

int IniWriteString(const QString& path, const QString& section, const QString& key,
                   const QString& value)
{
    return writeValue(path, section, key, value);
}

int IniReadInteger(const QString& path, const QString& section, const QString& key,
                   int defaultValue)
{
    return withoutThrowing(defaultValue, [&] {
        const std::optional<QString> text = readValue(path, section, key);
        return text ? parseInteger(*text).value_or(defaultValue) : defaultValue;
    });
}

int IniWriteInteger(const QString& path, const QString& section, const QString& key, int value)
{
    return writeValue(path, section, key, QString::number(value));
}

bool IniReadBool(const QString& path, const QString& section, const QString& key, bool defaultValue)
{
    return IniReadInteger(path, section, key, defaultValue ? 1 : 0) != 0;
}

int IniWriteBool(const QString& path, const QString& section, const QString& key, bool value)
{
    return writeValue(path, section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

int ReadHistoryList(const QString& path, const QString& section, const QString& listName,
                    QStringList& list)
{
    list.clear();
    return withoutThrowing(-1, [&] {
        const std::optional<IniDocument> document = loadDocument(path);
        if (!document)
            return -1;
        for (const auto& [key, value] : document->entries(section)) {
            if (belongsToList(key, listName))
                list.append(value);
        }
        return int(list.size());
    });
}

int WriteHistoryList(const QString& path, const QString& section, const QString& listName,
                     const QStringList& list)
{
    return withoutThrowing(-1, [&] {
        const bool written = editFile(path, [&](IniDocument& document) {
            removeListEntries(document, section, listName);
            for (qsizetype i = 0; i < list.size(); ++i) {
                if (!document.setValue(section, entryKey(listName, i), list[i]))
                    return false;
            }
            return true;
        });
        return written ? int(list.size()) : -1;
    });
}

} // namespace MyutyFiles
