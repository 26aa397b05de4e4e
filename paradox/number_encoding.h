#pragma once

#include <QtEndian>
#include <QtGlobal>
#include <cstring>

// Numbers in records are big-endian with the sign bit flipped, so that their
// bytes sort in numeric order; a double that is negative has all its bits
// flipped instead. All bytes zero is "no value", which no number encodes to.
namespace paradox::codec {

// Dates count days with 1 January 0001 as day 1; times and timestamps count
// milliseconds, timestamps from the start of day 0.
constexpr qint64 JulianDayOfDayZero = 1721425;
constexpr qint64 MillisecondsPerDay = 86400000;
// The most days from day 0 either way that a date takes: what a Date
// field's four bytes hold, for the date of a timestamp as well.
constexpr qint64 MaxDays = 0x7FFFFFFF;

// Size in bytes: 1, 2 or 4.
inline qint64 readFlippedInteger(const char* bytes, int size)
{
    quint64 raw = 0;
    for (int i = 0; i < size; ++i)
        raw = raw << 8 | quint8(bytes[i]);
    return qint64(raw) - (qint64(1) << (8 * size - 1));
}

inline void writeFlippedInteger(char* bytes, int size, qint64 value)
{
    quint64 raw = quint64(value) ^ (quint64(1) << (8 * size - 1));
    for (int i = size - 1; i >= 0; --i, raw >>= 8)
        bytes[i] = char(raw & 0xFF);
}

inline double readFlippedDouble(const char* bytes)
{
    quint64 raw = qFromBigEndian<quint64>(bytes);
    constexpr quint64 SignBit = quint64(1) << 63;
    raw = raw & SignBit ? raw & ~SignBit : ~raw;
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

inline void writeFlippedDouble(char* bytes, double value)
{
    quint64 raw;
    std::memcpy(&raw, &value, sizeof raw);
    constexpr quint64 SignBit = quint64(1) << 63;
    raw = raw & SignBit ? ~raw : raw | SignBit;
    qToBigEndian(raw, bytes);
}

} // namespace paradox::codec
