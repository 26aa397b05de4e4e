#pragma once

#include <QList>
#include <QString>

// Splits the text of one SQL statement into tokens. Keywords are not told
// apart from names here: the parser reads a bare word as a keyword where its
// grammar expects one, so a column may be called "date" or "time".
namespace paradox::sql {

struct Token
{
    enum class Kind
    {
        Word,       // bare name or keyword: letters, digits and '_'
        QuotedName, // "name", with "" for a double quote inside
        Text,       // 'text', with '' for a single quote inside
        Number,     // 12, 1.5, .5, 1e-07 (no sign: the parser joins it)
        Symbol,     // ( ) , ; . * + - = <> != < > <= >= ?
        End,
    };

    Kind kind = Kind::End;
    QString text;     // the name, text or symbol without quotes
    int position = 0; // index of its first character in the statement

    bool isSymbol(QStringView symbol) const { return kind == Kind::Symbol && text == symbol; }
    bool isWord(const char* word) const
    {
        return kind == Kind::Word &&
               text.compare(QLatin1StringView(word), Qt::CaseInsensitive) == 0;
    }
};

// The last token is always End. Raises SkelvoError for an unclosed quote or
// a character that has no place in a statement.
QList<Token> tokenize(const QString& statement);

} // namespace paradox::sql
