#include "core/password.h"
#include "tests/testsupport/qt_printers.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

using Myutyfunc::ScramblePassword;
using Myutyfunc::UnscramblePassword;

TEST(Password, ShiftsEachCharacterByTheKeyDigits)
{
    // Key 58203746195032: 'a'+5, 'a'+8, 'a'+2, 'a'+0 ...; the 15th character
    // starts the key again.
    EXPECT_EQ(ScramblePassword("aaaa"), QString("fica"));
    EXPECT_EQ(ScramblePassword("00000000000000"
                               "0"),
              QString("58203746195032"
                      "5"));
    EXPECT_EQ(ScramblePassword(""), QString());
    EXPECT_EQ(UnscramblePassword("fica"), QString("aaaa"));
}

TEST(Password, EveryTextRoundTrips)
{
    const QString cases[] = {
        "secret",
        "パスワード",
        QString(300, QChar('x')), // longer than any fixed buffer
        QString::fromUtf16(u"\U0001F600z"),
        QString::fromUtf16(u"\uD7FA\uD7FF"), // would shift into the surrogate range
        QString::fromUtf16(u"\uFFFF\uFFFA"),
        QString::fromUtf16(u"\U0010FFFF\U0010FFFA"), // would shift past the last code point
    };
    for (const QString& plain : cases) {
        SCOPED_TRACE(plain.toStdString());
        const QString scrambled = ScramblePassword(plain);
        EXPECT_FALSE(scrambled.contains(QChar(0)));
        EXPECT_EQ(scrambled.toUcs4().size(), plain.toUcs4().size());
        // Stored as UTF-8 in the settings file: must survive that too.
        EXPECT_EQ(QString::fromUtf8(scrambled.toUtf8()), scrambled);
        EXPECT_EQ(UnscramblePassword(scrambled), plain);
    }
}

TEST(Password, StoredTextWithLowCodesUnscramblesWithoutEndingEarly)
{
    // A hand-edited value whose codes are below the key digits must not
    // produce NUL (which would cut the password) and must scramble back.
    const QString stored = QString::fromUtf16(u"\u0001\u0002\u0003");
    const QString plain = UnscramblePassword(stored);
    EXPECT_EQ(plain.toUcs4().size(), 3);
    EXPECT_EQ(ScramblePassword(plain), stored);
}

TEST(Password, TextEndsAtNul)
{
    EXPECT_EQ(ScramblePassword(QString("ab") + QChar(0) + "cd"), QString("fj"));
}
