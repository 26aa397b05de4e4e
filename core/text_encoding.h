#pragma once

#include <QByteArray>
#include <QString>

// Files exchanged with the Windows edition (CSV, layout and command files)
// are CP932 unless they start with a UTF-8 or UTF-16 byte-order mark.
namespace TextEncoding {

// Decodes by byte-order mark, else as CP932. Bytes that are not CP932
// raise an error naming the position, rather than turning into wrong text.
QString decodeExternalText(const QByteArray& bytes);

// Encodes as CP932; a character CP932 lacks raises an error naming it.
QByteArray encodeCp932(const QString& text);

} // namespace TextEncoding
