#include "core/password.h"

#include <QList>

namespace Myutyfunc {
namespace {

// Characters are shifted within the Unicode scalar values other than NUL,
// surrogates skipped, as one cycle. Ordinary text shifts by plain addition;
// a character near the top of the range wraps round instead of turning into
// something the settings file could not hold, so every text round-trips.
constexpr char32_t SurrogateFirst = 0xD800;
constexpr char32_t SurrogateCount = 0x800;
constexpr qint64 CycleLength = 0x110000 - SurrogateCount - 1; // scalar values except NUL

qint64 cycleIndex(char32_t code)
{
    return (code < SurrogateFirst ? code : code - SurrogateCount) - 1;
}

char32_t codeAt(qint64 index)
{
    const char32_t code = char32_t(index + 1);
    return code < SurrogateFirst ? code : code + SurrogateCount;
}

int keyDigit(qsizetype position)
{
    constexpr qsizetype KeyLength = sizeof(PasswordKey) - 1;
    return PasswordKey[position % KeyLength] - '0';
}

// The text ends at its first NUL, as the stored form always has.
QString shifted(const QString& text, int direction)
{
    QList<uint> codes = text.toUcs4();
    if (const qsizetype end = codes.indexOf(0u); end >= 0)
        codes.resize(end);
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const qint64 index = cycleIndex(codes[i]) + direction * keyDigit(i);
        codes[i] = codeAt(((index % CycleLength) + CycleLength) % CycleLength);
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.constData()), codes.size());
}

} // namespace

QString ScramblePassword(const QString& plain)
{
    return shifted(plain, +1);
}

QString UnscramblePassword(const QString& scrambled)
{
    return shifted(scrambled, -1);
}

} // namespace Myutyfunc
