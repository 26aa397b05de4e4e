#include "paradox/sql_token_reader.h"

#include "core/error.h"

namespace paradox::sql {
namespace {

using Kind = Token::Kind;

bool isDigits(const Token& token)
{
    if (token.kind != Kind::Number)
        return false;
    return std::all_of(token.text.begin(), token.text.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

const Token& TokenReader::peek(int ahead) const
{
    return tokenAt(at_ + ahead);
}

const Token& TokenReader::tokenAt(qsizetype index) const
{
    return index >= 0 && index < tokens_.size() ? tokens_[index] : tokens_.last();
}

const Token& TokenReader::take()
{
    const Token& token = peek();
    if (token.kind != Kind::End)
        ++at_;
    return token;
}

bool TokenReader::acceptWord(const char* word)
{
    if (!peek().isWord(word))
        return false;
    ++at_;
    return true;
}

void TokenReader::expectWord(const char* word)
{
    if (!acceptWord(word))
        fail(QStringLiteral("%1 が必要です。").arg(QLatin1StringView(word)));
}

bool TokenReader::acceptSymbol(QStringView symbol)
{
    if (!peek().isSymbol(symbol))
        return false;
    ++at_;
    return true;
}

void TokenReader::expectSymbol(QStringView symbol)
{
    if (!acceptSymbol(symbol))
        fail(QStringLiteral("'%1' が必要です。").arg(symbol));
}

QString TokenReader::name(const QString& what)
{
    const Token& token = peek();
    if (token.kind != Kind::Word && token.kind != Kind::QuotedName)
        fail(QStringLiteral("%1が必要です。").arg(what));
    ++at_;
    return token.text;
}

QString TokenReader::tableName()
{
    QString result;
    if (isDigits(peek()))
        result = take().text;
    else
        result = name(QStringLiteral("テーブル名"));
    if (peek(-1).kind != Kind::QuotedName && peek().isSymbol(u".")) {
        ++at_;
        if (peek().kind != Kind::Word)
            fail(QStringLiteral("テーブルファイルの拡張子が必要です。"));
        result += u'.' + take().text;
    }
    return result;
}

int TokenReader::count(const QString& what)
{
    bool ok = false;
    const int value = isDigits(peek()) ? peek().text.toInt(&ok) : 0;
    if (!ok)
        fail(QStringLiteral("%1 (数字) が必要です。").arg(what));
    ++at_;
    return value;
}

void TokenReader::finish()
{
    const bool separated = acceptSymbol(u";");
    if (peek().kind != Kind::End)
        fail(separated ? QStringLiteral("一度に実行できる SQL 文は一つだけです。")
                       : QStringLiteral("文の終わりに余分な語があります。"));
}

void TokenReader::fail(const QString& what) const
{
    const Token& token = peek();
    if (token.kind == Kind::End)
        throw SkelvoError(QStringLiteral("%1 (文の終わり)").arg(what));
    const QString shown = token.kind == Kind::Text ? u'\'' + token.text + u'\'' : token.text;
    throw SkelvoError(
        QStringLiteral("%1 (%2 文字目「%3」の所)").arg(what).arg(token.position + 1).arg(shown));
}

} // namespace paradox::sql
