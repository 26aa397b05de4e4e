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
    list.prepend(text);
    return text;
}

} // namespace Myutyfunc
