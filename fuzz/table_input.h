#pragma once

#include <QByteArray>

// One fuzz input holds a table file and its memo file: the table file's
// length as four bytes, least significant first, then the table file, then
// the memo file (none when empty). A length beyond the input gives the
// whole rest to the table file.
namespace tableinput {

struct TableFiles
{
    QByteArray table;
    QByteArray memo;
};

QByteArray pack(const TableFiles& files);
TableFiles unpack(const QByteArray& input);

} // namespace tableinput
