#pragma once

#include "paradox/sql_lexer.h"

#include <QList>
#include <QString>

namespace paradox::sql {

// A cursor over the tokens of one statement with the reading steps that
// every part of the grammar shares. Its errors name what was expected and
// where the statement went wrong.
class TokenReader
{
public:
    explicit TokenReader(QList<Token> tokens) : tokens_(std::move(tokens)) {}

    // Past the end, the End token.
    const Token& peek(int ahead = 0) const;
    const Token& tokenAt(qsizetype index) const; // counted from the statement's start
    const Token& take();
    void skip(int count) { at_ += count; }

    bool acceptWord(const char* word);
    void expectWord(const char* word);
    bool acceptSymbol(QStringView symbol);
    void expectSymbol(QStringView symbol);

    // A bare or double-quoted name; `what` says what kind of name is due.
    QString name(const QString& what);

    // A table name: also a file name with its extension (ab12.db) and a
    // name of digits only, as users type aircraft names.
    QString tableName();

    // A whole number written with digits only, such as a width.
    int count(const QString& what);

    // Allows one trailing ';' and nothing after it.
    void finish();

    [[noreturn]] void fail(const QString& what) const;

private:
    QList<Token> tokens_;
    qsizetype at_ = 0;
};

} // namespace paradox::sql
