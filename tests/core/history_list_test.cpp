#include "core/history_list.h"
#include "tests/testsupport/qt_printers.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

using Myutyfunc::AddHistoryItem;

TEST(AddHistoryItem, MovesTheTextToTheTop)
{
    const struct
    {
        QStringList before;
        QString text;
        QStringList after;
    } cases[] = {
        {{}, "abc", {"abc"}},
        {{"ABC", "xyz"}, "abc", {"abc", "xyz"}},           // case of A-Z ignored, new case kept
        {{"xyz", "Abc", "q"}, "aBC", {"aBC", "xyz", "q"}}, // an older entry moves up
        {{"abc", "xyz"}, "", {"abc", "xyz"}},              // a blank text is never added
        {{"", "abc"}, "  ", {"abc"}},                      // and blank entries still go
        {{" ", "\t", "a", "  "}, "b", {"b", "a"}},         // every blank entry goes
        {{"ａｂｃ", "abc"}, "ABC", {"ABC", "ａｂｃ"}},     // full-width letters do not fold
        {{"Ä", "x"}, "ä", {"ä", "Ä", "x"}},                // nor do letters outside A-Z
        {{"x", "x", "y"}, "X", {"X", "y"}},                // duplicates in a hand-edited list go
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.join('|').toStdString() + " + " + c.text.toStdString());
        QStringList list = c.before;
        EXPECT_EQ(AddHistoryItem(c.text, list), c.text);
        EXPECT_EQ(list, c.after);
    }
}
