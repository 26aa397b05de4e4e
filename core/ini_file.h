#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>
#include <optional>

// The settings file's text, held as its lines. Editing a key touches only
// that key's line; every other line keeps its place and its bytes, so
// comments and hand edits survive. Section and key names match without
// regard to case; the first matching section and key win, as in classic
// profile files.
class IniDocument
{
public:
    static IniDocument fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    std::optional<QString> value(QStringView section, QStringView key) const;
    // Every key and value of the section, in file order.
    QList<QPair<QString, QString>> entries(QStringView section) const;

    // False (and nothing changed) when the name or value cannot be held on
    // one line of the file.
    bool setValue(QStringView section, QStringView key, const QString& value);
    void removeKey(QStringView section, QStringView key);

private:
    struct Line
    {
        enum class Kind
        {
            Other, // blank line, comment or text that is neither section nor key
            Section,
            Key,
        };
        QByteArray bytes; // without its line end
        QByteArray end;   // "\n", "\r\n" or empty for a last line without one
        Kind kind = Kind::Other;
        QString name;  // section or key name, trimmed
        QString value; // key value, trimmed and unquoted
    };
    struct Range
    {
        qsizetype begin; // first line after the section's header
        qsizetype end;   // the next header, or the end of the file
    };

    static Line parseLine(QByteArray bytes, QByteArray end);
    std::optional<Range> findSection(QStringView section) const;
    qsizetype findKey(Range range, QStringView key) const;
    void insertLine(qsizetype index, const QByteArray& bytes);

    QByteArray bom_;
    QList<Line> lines_;
    QByteArray newLine_ = "\n";
};

// Reading a missing or unreadable file gives an empty document.
IniDocument readIniFile(const QString& path);
// Writes through a temporary file and a rename; false when the file or its
// folder cannot be written. The old file stays whole on failure.
bool writeIniFile(const QString& path, const IniDocument& document);
