#include "entry/entry_date.h"

#include <QDate>
#include <QRegularExpression>

namespace EntryDate {

namespace {

bool fourDigits(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{4}$"));
    return digits.match(text).hasMatch();
}

} // namespace

std::optional<Problem> check(const QString& year, const QString& monthDay)
{
    if (!fourDigits(year) || year.toInt() == 0)
        return Problem{
            Box::Year,
            QStringLiteral("「年」には西暦を 4 桁の数字で入れてください（入力:「%1」）。")
                .arg(year)};
    if (!fourDigits(monthDay))
        return Problem{Box::MonthDay,
                       QStringLiteral("「月日」には月と日を 4 桁の数字で入れてください"
                                      "（3 月 5 日は 0305。入力:「%1」）。")
                           .arg(monthDay)};
    if (!QDate(year.toInt(), monthDay.left(2).toInt(), monthDay.mid(2).toInt()).isValid())
        return Problem{
            Box::MonthDay,
            QStringLiteral("「月日」の「%1」は %2 年にない日付です。").arg(monthDay, year)};
    return std::nullopt;
}

} // namespace EntryDate
