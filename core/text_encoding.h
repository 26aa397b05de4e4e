#pragma once

#include <QByteArray>
#include <QString>

// Files exchanged with the Windows edition (CSV, layout and command files)
// are CP932 unless they start with a UTF-8 or UTF-16 byte-order mark.
namespace TextEncoding {

// Decodes by byte-order mark, else as CP932. Bytes that are not CP932
// raise an error naming the position, rather than turning into wrong text.
QString decodeExternalText(const QByteArray& bytes);

// Encodes as CP932; a character CP932 lacks raises an error naming it, as
// does one it holds only as a look-alike (〜 as ～, ¥ as \), which would not
// read back as written.
QByteArray encodeCp932(const QString& text);

// Whether iconv converts between the named code set ("CP932", "CP1252", …)
// and Unicode.
bool knowsCodeSet(const char* codeSet);

// Converts from and to a code set that iconv knows by name. Bytes the code
// set does not define, and characters it lacks, raise an error naming them.
QString decode(const QByteArray& bytes, const char* codeSet);
QByteArray encode(const QString& text, const char* codeSet);

} // namespace TextEncoding
