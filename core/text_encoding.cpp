#include "core/text_encoding.h"

#include "core/error.h"

#include <QStringDecoder>
#include <algorithm>
#include <bitset>
#include <cerrno>
#include <iconv.h>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace TextEncoding {
namespace {

struct IconvCloser
{
    void operator()(iconv_t handle) const { iconv_close(handle); }
};
using Iconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

Iconv openConverter(const char* to, const char* from)
{
    iconv_t handle = iconv_open(to, from);
    if (handle == reinterpret_cast<iconv_t>(-1))
        throw SkelvoError(QStringLiteral("文字コード %1 を変換できません。").arg(from));
    return Iconv(handle);
}

// Opening a converter costs more than converting a field of a row, and a
// table converts thousands: each thread keeps one converter per pair of code
// sets (a converter serves one thread at a time), put back to its initial
// state before each use so that a conversion that failed leaves nothing.
iconv_t converterFor(const char* to, const char* from)
{
    thread_local std::map<std::pair<std::string, std::string>, Iconv> open;
    Iconv& converter = open[{to, from}];
    if (!converter)
        converter = openConverter(to, from);
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    return converter.get();
}

// Converts the whole input; on a byte sequence the target cannot take,
// reports the offset in the input where conversion stopped.
QByteArray convert(iconv_t converter, const QByteArray& input, qsizetype& failedAt)
{
    QByteArray output(input.size() * 4 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char* out = output.data();
    size_t outLeft = size_t(output.size());
    failedAt = -1;
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == size_t(-1))
        failedAt = qsizetype(in - input.constData());
    output.truncate(output.size() - qsizetype(outLeft));
    return output;
}

QByteArray convertAll(const char* to, const char* from, const QByteArray& input,
                      qsizetype& failedAt)
{
    return convert(converterFor(to, from), input, failedAt);
}

struct ByteOrderMark
{
    QByteArrayView bytes;
    const char* codeSet;
};

// The text after a mark goes through iconv, which refuses lone surrogates,
// values beyond Unicode and a last character cut off; Qt's UTF-16 and
// UTF-32 decoders pass them on as broken text. FF FE 00 00 is taken as
// UTF-32, so it comes before the UTF-16 mark it starts with.
const ByteOrderMark* byteOrderMarkOf(const QByteArray& bytes)
{
    static const ByteOrderMark marks[] = {
        {QByteArrayView("\xEF\xBB\xBF"), "UTF-8"},
        {QByteArrayView("\xFF\xFE\x00\x00", 4), "UTF-32LE"},
        {QByteArrayView("\xFF\xFE"), "UTF-16LE"},
        {QByteArrayView("\xFE\xFF"), "UTF-16BE"},
    };
    for (const ByteOrderMark& mark : marks) {
        if (bytes.startsWith(mark.bytes))
            return &mark;
    }
    return nullptr;
}

// iconv's UTF-8 output as text. A U+FEFF at its start is a character of the
// text (the file's own mark is gone by then), which QString::fromUtf8 would
// drop as a mark.
QString textOf(const QByteArray& utf8)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder(utf8);
}

QString characterAt(const QByteArray& utf8, qsizetype offset)
{
    const QString rest = QString::fromUtf8(utf8.mid(offset));
    return rest.left(rest.front().isHighSurrogate() ? 2 : 1);
}

QByteArray encodeFromUtf8(const QByteArray& utf8, const char* codeSet)
{
    qsizetype failedAt = -1;
    QByteArray result = convertAll(codeSet, "UTF-8", utf8, failedAt);
    if (failedAt >= 0)
        throw SkelvoError(QStringLiteral("文字「%1」は %2 で書けません。")
                              .arg(characterAt(utf8, failedAt), QString::fromLatin1(codeSet)));
    return result;
}

} // namespace

QString decodeExternalText(const QByteArray& bytes)
{
    if (const ByteOrderMark* mark = byteOrderMarkOf(bytes)) {
        qsizetype failedAt = -1;
        const QByteArray utf8 =
            convertAll("UTF-8", mark->codeSet, bytes.sliced(mark->bytes.size()), failedAt);
        if (failedAt >= 0)
            throw SkelvoError(QStringLiteral("ファイルの文字コードが正しくありません。"));
        return textOf(utf8);
    }
    qsizetype failedAt = -1;
    const QByteArray utf8 = convertAll("UTF-8", "CP932", bytes, failedAt);
    if (failedAt >= 0)
        throw SkelvoError(QStringLiteral("ファイルの %1 バイト目は CP932 の文字ではありません。")
                              .arg(failedAt + 1));
    return textOf(utf8);
}

QByteArray encodeCp932(const QString& text)
{
    // The characters already seen to read back as written: an export
    // encodes every line, mostly of the same few characters, and reads back
    // only a line that holds another.
    thread_local std::bitset<0x10000> readsBack;
    const QByteArray utf8 = text.toUtf8();
    QByteArray bytes = encodeFromUtf8(utf8, "CP932");
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return readsBack[c.unicode()]; }))
        return bytes;
    // Compared as UTF-8 first, which costs less and, for text whose
    // surrogates all pair, says the same.
    qsizetype failedAt = -1;
    if (text.isValidUtf16() && convertAll("UTF-8", "CP932", bytes, failedAt) == utf8) {
        for (QChar c : text)
            readsBack.set(c.unicode());
        return bytes;
    }
    const QString readBack = decode(bytes, "CP932");
    const auto differ =
        std::mismatch(text.cbegin(), text.cend(), readBack.cbegin(), readBack.cend());
    if (differ.first != text.cend())
        throw SkelvoError(
            QStringLiteral("文字「%1」は CP932 では別の文字になります。").arg(*differ.first));
    return bytes;
}

bool knowsCodeSet(const char* codeSet)
{
    iconv_t handle = iconv_open("UTF-8", codeSet);
    if (handle == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(handle);
    return true;
}

QString decode(const QByteArray& bytes, const char* codeSet)
{
    qsizetype failedAt = -1;
    const QByteArray utf8 = convertAll("UTF-8", codeSet, bytes, failedAt);
    if (failedAt >= 0)
        throw SkelvoError(QStringLiteral("%1 バイト目は %2 の文字ではありません。")
                              .arg(failedAt + 1)
                              .arg(QString::fromLatin1(codeSet)));
    return textOf(utf8);
}

QByteArray encode(const QString& text, const char* codeSet)
{
    return encodeFromUtf8(text.toUtf8(), codeSet);
}

} // namespace TextEncoding
