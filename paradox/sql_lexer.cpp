#include "paradox/sql_lexer.h"

#include "core/error.h"

namespace paradox::sql {
namespace {

using namespace Qt::StringLiterals;

bool isWordStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isWordPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

[[noreturn]] void fail(qsizetype position, const QString& what)
{
    throw SkelvoError(QStringLiteral("%1 文字目: %2").arg(position + 1).arg(what));
}

class Lexer
{
public:
    explicit Lexer(const QString& text) : text_(text) {}

    QList<Token> run()
    {
        QList<Token> tokens;
        for (skipBlanks(); at_ < text_.size(); skipBlanks())
            tokens.append(next());
        tokens.append({Token::Kind::End, QString(), int(text_.size())});
        return tokens;
    }

private:
    QChar peek(qsizetype ahead = 0) const
    {
        return at_ + ahead < text_.size() ? text_[at_ + ahead] : QChar();
    }

    // Command files keep their "--" comment lines when they are indented.
    void skipBlanks()
    {
        while (at_ < text_.size()) {
            if (text_[at_].isSpace())
                ++at_;
            else if (peek() == u'-' && peek(1) == u'-')
                while (at_ < text_.size() && text_[at_] != u'\n' && text_[at_] != u'\r')
                    ++at_;
            else
                break;
        }
    }

    Token next()
    {
        const QChar c = peek();
        if (c == u'\'')
            return quoted(Token::Kind::Text, u'\'');
        if (c == u'"')
            return quoted(Token::Kind::QuotedName, u'"');
        if (isAsciiDigit(c) || (c == u'.' && isAsciiDigit(peek(1))))
            return number();
        if (isWordStart(c))
            return word(at_);
        return symbol();
    }

    // A doubled quote stands for one; nothing else escapes (a backslash is
    // an ordinary character).
    Token quoted(Token::Kind kind, QChar quote)
    {
        const qsizetype start = at_++;
        QString value;
        for (;;) {
            if (at_ >= text_.size())
                fail(start, QStringLiteral("引用符 %1 が閉じていません。").arg(quote));
            if (text_[at_] == quote) {
                if (peek(1) != quote)
                    break;
                ++at_;
            }
            value.append(text_[at_++]);
        }
        ++at_;
        if (kind == Token::Kind::QuotedName && value.isEmpty())
            fail(start, QStringLiteral("名前が空です。"));
        return {kind, value, int(start)};
    }

    void skipDigits()
    {
        while (isAsciiDigit(peek()))
            ++at_;
    }

    // A name typed by the user may start with a digit (a table "12AB"): a
    // number run straight on into letters is read as one word.
    Token number()
    {
        const qsizetype start = at_;
        skipDigits();
        bool fraction = false;
        if (peek() == u'.' && (isAsciiDigit(peek(1)) || !isWordStart(peek(1)))) {
            fraction = true;
            ++at_;
            skipDigits();
        }
        const qsizetype signAt = at_ + 1;
        const bool signedExponent = peek(1) == u'+' || peek(1) == u'-';
        if ((peek() == u'e' || peek() == u'E') && isAsciiDigit(peek(signedExponent ? 2 : 1))) {
            at_ = signedExponent ? signAt + 1 : signAt;
            skipDigits();
        }
        if (isWordPart(peek())) {
            if (fraction || signedExponent)
                fail(start, QStringLiteral("数値 %1 の後に文字が続いています。")
                                .arg(text_.mid(start, at_ - start + 1)));
            return word(start);
        }
        return {Token::Kind::Number, text_.mid(start, at_ - start), int(start)};
    }

    Token word(qsizetype start)
    {
        at_ = start;
        while (at_ < text_.size() && isWordPart(text_[at_]))
            ++at_;
        return {Token::Kind::Word, text_.mid(start, at_ - start), int(start)};
    }

    Token symbol()
    {
        static const QLatin1StringView twoCharacter[] = {"<>"_L1, "!="_L1, "<="_L1, ">="_L1};
        const qsizetype start = at_;
        for (QLatin1StringView pair : twoCharacter) {
            if (QStringView(text_).mid(at_, 2) == pair) {
                at_ += 2;
                return {Token::Kind::Symbol, QString(pair), int(start)};
            }
        }
        static const QLatin1StringView single("(),;.*+-=<>?");
        if (!single.contains(peek()))
            fail(start, QStringLiteral("文字 %1 は使えません。").arg(peek()));
        return {Token::Kind::Symbol, QString(text_[at_++]), int(start)};
    }

    const QString& text_;
    qsizetype at_ = 0;
};

} // namespace

QList<Token> tokenize(const QString& statement)
{
    return Lexer(statement).run();
}

} // namespace paradox::sql
