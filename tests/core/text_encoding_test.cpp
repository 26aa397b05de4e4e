#include "core/error.h"
#include "core/text_encoding.h"
#include "tests/testsupport/qt_printers.h"

#include <gtest/gtest.h>

using namespace TextEncoding;

TEST(TextEncoding, DecodesByByteOrderMarkElseAsCp932)
{
    const QString japanese = QStringLiteral("機体記号 JA2345");
    const QByteArray cp932("\x8b\x40\x91\xcc\x8b\x4c\x8d\x86 JA2345");
    QByteArray utf16le("\xFF\xFE");
    for (QChar c : japanese)
        utf16le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));

    EXPECT_EQ(decodeExternalText(cp932), japanese);
    EXPECT_EQ(decodeExternalText("\xEF\xBB\xBF" + japanese.toUtf8()), japanese);
    EXPECT_EQ(decodeExternalText(utf16le), japanese);
    EXPECT_EQ(decodeExternalText(QByteArray()), QString());
}

TEST(TextEncoding, BrokenInputIsAnErrorNotWrongText)
{
    // 0x81 starts a two-byte character; a lone one at the end is broken.
    EXPECT_THROW(decodeExternalText(QByteArray("ab\x81")), SkelvoError);
    EXPECT_THROW(encodeCp932(QStringLiteral("絵文字😀")), SkelvoError);
}

TEST(TextEncoding, Cp932RoundTrips)
{
    const QString text = QStringLiteral("乗組員 山田太郎, \"備考\"\r\nｶﾅ ①");
    EXPECT_EQ(decodeExternalText(encodeCp932(text)), text);
}
