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
    // Only the first mark is the file's; a second one is text.
    EXPECT_EQ(decodeExternalText(QByteArray("\xFE\xFF\xFE\xFF\x00J", 6)),
              QStringLiteral("\uFEFFJ"));
    EXPECT_EQ(decodeExternalText("\xEF\xBB\xBF\xEF\xBB\xBFJ"), QStringLiteral("\uFEFFJ"));
}

TEST(TextEncoding, BrokenInputIsAnErrorNotWrongText)
{
    // 0x81 starts a two-byte character; a lone one at the end is broken.
    EXPECT_THROW(decodeExternalText(QByteArray("ab\x81")), SkelvoError);
    const QByteArray brokenUnicode[] = {
        QByteArray("\xFF\xFE\x00\xD8", 4),                 // a lone high surrogate
        QByteArray("\xFE\xFF\xDC\x00", 4),                 // a lone low surrogate
        QByteArray("\xFF\xFEJ\x00A", 5),                   // the last character cut off
        QByteArray("\xFF\xFE\x00\x00\x00\x00\x11\x00", 8), // beyond U+10FFFF
    };
    for (const QByteArray& bytes : brokenUnicode)
        EXPECT_THROW(decodeExternalText(bytes), SkelvoError) << bytes.toHex(' ').constData();
    EXPECT_THROW(encodeCp932(QStringLiteral("絵文字😀")), SkelvoError);
    // Converters are kept for the next text: a failed one leaves nothing behind.
    EXPECT_EQ(decodeExternalText(QByteArray("\x82\xa0")), QStringLiteral("あ"));
    EXPECT_EQ(decodeExternalText(QByteArray("\xFF\xFEJ\x00", 4)), QStringLiteral("J"));
    EXPECT_EQ(encodeCp932(QStringLiteral("絵文字")), QByteArray("\x8a\x47\x95\xb6\x8e\x9a"));
}

TEST(TextEncoding, Cp932RoundTrips)
{
    const QString text = QStringLiteral("乗組員 山田太郎, \"備考\"\r\nｶﾅ ①");
    EXPECT_EQ(decodeExternalText(encodeCp932(text)), text);
}
