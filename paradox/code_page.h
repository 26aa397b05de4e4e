#pragma once

#include <QByteArray>
#include <QString>

namespace paradox::codec {

// The code page a table keeps its text in (field names and values alike).
class CodePage
{
public:
    // The number from the table header. Tables before 4.0 carry none (0), and
    // a number iconv does not know cannot be decoded faithfully; both are
    // read as 437, the DOS code page such tables were most often written in.
    explicit CodePage(int number);

    int number() const { return number_; }

    // Raises an error on bytes the code page does not define.
    QString decode(const QByteArray& bytes) const;
    // Raises an error naming a character the code page lacks. A character
    // the code page holds only as a look-alike is stored as that look-alike,
    // as Windows stores it, and reads back so for every reader, the writer
    // included: in CP932 〜 − ‖ ¢ £ ¬ — ¥ become ～ － ∥ ￠ ￡ ￢ ― \.
    QByteArray encode(const QString& text) const;
    // As encode(), cut to at most maxBytes without splitting a character.
    QByteArray encodeCut(const QString& text, int maxBytes) const;
    // The text as a read gives it back after encodeCut() (maxBytes < 0:
    // encode()).
    QString storedForm(const QString& text, int maxBytes) const;

private:
    int number_;
    QByteArray codeSet_;
};

} // namespace paradox::codec
