#include "core/history_list.h"

namespace Myutyfunc {
namespace {

// Only the letters A to Z fold: kana and full-width letters stay distinct.
char16_t foldAsciiCase(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}

bool equalIgnoringAsciiCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAsciiCase(a[i].unicode()) != foldAsciiCase(b[i].unicode()))
            return false;
    }
    return true;
}

} // namespace

QString AddHistoryItem(const QString& text, QStringList& list)
{
    list.removeIf([&text](const QString& entry) {
        return entry.trimmed().isEmpty() || equalIgnoringAsciiCase(entry, text);
    });
    // A blank entry would only ever drop down as an empty line.
    if (!text.trimmed().isEmpty())
        list.prepend(text);
    return text;
}

} // namespace Myutyfunc
