#include "core/numeric_text.h"
#include "tests/testsupport/qt_printers.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

TEST(IsNumericText, LooksAtTheFirstCharacterOnly)
{
    const struct
    {
        const char16_t* text;
        bool numeric;
    } cases[] =
        {
            {u"0", true},   {u"9", true},  {u"1x", true},  {u"+", true},  {u"-", true},
            {u",", true},   {u".", true},  {u"E", true},   {u"e5", true}, {u"", false},
            {u"x1", false}, {u"X", false}, {u" 1", false}, {u"/", false}, {u":", false},
            {u"１", false}, // a full-width digit is no numeric character
        };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(Myutyfunc::IsNumericText(QStringView(c.text)), c.numeric);
    }
}
