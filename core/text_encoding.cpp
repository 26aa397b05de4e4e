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
    const QByteArray utf8 = convert(openConverter("UTF-8", "CP932"), bytes, failedAt);
    if (failedAt >= 0)
        throw SkelvoError(QStringLiteral("ファイルの %1 バイト目は CP932 の文字ではありません。")
                              .arg(failedAt + 1));
    return QString::fromUtf8(utf8);
}

QByteArray encodeCp932(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    qsizetype failedAt = -1;
    QByteArray result = convert(openConverter("CP932", "UTF-8"), utf8, failedAt);
    if (failedAt >= 0) {
        const QString rest = QString::fromUtf8(utf8.mid(failedAt));
        throw SkelvoError(QStringLiteral("文字「%1」は CP932 で書けません。")
                              .arg(rest.left(rest.front().isHighSurrogate() ? 2 : 1)));
    }
    return result;
}

} // namespace TextEncoding
