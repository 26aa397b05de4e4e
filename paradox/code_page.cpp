#include "paradox/code_page.h"

#include "core/text_encoding.h"

#include <algorithm>

namespace paradox::codec {
namespace {

constexpr int FallbackCodePage = 437;

QByteArray codeSetName(int number)
{
    return "CP" + QByteArray::number(number);
}

// Every code page a table names keeps ASCII as it is, and most values are
// ASCII (times, numbers, call signs): those need no converter.
bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool isAscii(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

CodePage::CodePage(int number)
    : number_(number > 0 && TextEncoding::knowsCodeSet(codeSetName(number).constData())
                  ? number
                  : FallbackCodePage),
      codeSet_(codeSetName(number_))
{}

QString CodePage::decode(const QByteArray& bytes) const
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    return TextEncoding::decode(bytes, codeSet_.constData());
}

QByteArray CodePage::encode(const QString& text) const
{
    if (isAscii(text))
        return text.toLatin1();
    return TextEncoding::encode(text, codeSet_.constData());
}

QByteArray CodePage::encodeCut(const QString& text, int maxBytes) const
{
    QByteArray whole = encode(text);
    if (whole.size() <= maxBytes)
        return whole;
    // Character by character, so that a double-byte character is never split.
    QByteArray cut;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray piece = encode(text.mid(i, length));
        if (cut.size() + piece.size() > maxBytes)
            break;
        cut += piece;
        i += length;
    }
    return cut;
}

QString CodePage::storedForm(const QString& text, int maxBytes) const
{
    if (isAscii(text) && (maxBytes < 0 || text.size() <= maxBytes))
        return text;
    return decode(maxBytes < 0 ? encode(text) : encodeCut(text, maxBytes));
}

} // namespace paradox::codec
