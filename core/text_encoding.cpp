#include "core/text_encoding.h"

#include "core/error.h"

#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>
#include <memory>

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

// Converts the whole input; on a byte sequence the target cannot take,
// reports the offset in the input where conversion stopped.
QByteArray convert(const Iconv& converter, const QByteArray& input, qsizetype& failedAt)
{
    QByteArray output(input.size() * 4 + 16, Qt::Uninitialized);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char* out = output.data();
    size_t outLeft = size_t(output.size());
    failedAt = -1;
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) == size_t(-1))
        failedAt = qsizetype(in - input.constData());
    output.truncate(output.size() - qsizetype(outLeft));
    return output;
}

// As convert(), with a converter opened for this one input.
QByteArray convertAll(const char* to, const char* from, const QByteArray& input,
                      qsizetype& failedAt)
{
    return convert(openConverter(to, from), input, failedAt);
}

QString characterAt(const QByteArray& utf8, qsizetype offset)
{
    const QString rest = QString::fromUtf8(utf8.mid(offset));
    return rest.left(rest.front().isHighSurrogate() ? 2 : 1);
}

} // namespace

QString decodeExternalText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith("\xFE\xFF")) {
        auto encoding = QStringConverter::encodingForData(bytes);
        QStringDecoder decoder(*encoding); // drops the mark itself
        QString text = decoder(bytes);
        if (decoder.hasError())
            throw SkelvoError(QStringLiteral("ファイルの文字コードが正しくありません。"));
        return text;
    }
    qsizetype failedAt = -1;
    const QByteArray utf8 = convertAll("UTF-8", "CP932", bytes, failedAt);
    if (failedAt >= 0)
        throw SkelvoError(QStringLiteral("ファイルの %1 バイト目は CP932 の文字ではありません。")
                              .arg(failedAt + 1));
    return QString::fromUtf8(utf8);
}

QByteArray encodeCp932(const QString& text)
{
    return encode(text, "CP932");
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
    return QString::fromUtf8(utf8);
}

QByteArray encode(const QString& text, const char* codeSet)
{
    const QByteArray utf8 = text.toUtf8();
    qsizetype failedAt = -1;
    QByteArray result = convertAll(codeSet, "UTF-8", utf8, failedAt);
    if (failedAt >= 0)
        throw SkelvoError(QStringLiteral("文字「%1」は %2 で書けません。")
                              .arg(characterAt(utf8, failedAt), QString::fromLatin1(codeSet)));
    return result;
}

} // namespace TextEncoding
