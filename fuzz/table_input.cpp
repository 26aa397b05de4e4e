#include "fuzz/table_input.h"

#include <QtEndian>

namespace tableinput {

namespace {
constexpr qsizetype LengthBytes = 4;
}

QByteArray pack(const TableFiles& files)
{
    QByteArray length(LengthBytes, Qt::Uninitialized);
    qToLittleEndian(quint32(files.table.size()), length.data());
    return length + files.table + files.memo;
}

TableFiles unpack(const QByteArray& input)
{
    if (input.size() < LengthBytes)
        return {};
    const QByteArray rest = input.sliced(LengthBytes);
    const quint32 length = qFromLittleEndian<quint32>(input.constData());
    if (length >= quint32(rest.size()))
        return {rest, {}};
    return {rest.first(length), rest.sliced(length)};
}

} // namespace tableinput
