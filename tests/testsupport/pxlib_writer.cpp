#include "tests/testsupport/pxlib_writer.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

extern "C" { // pxlib's header does not say so itself
#include <paradox.h>
}

namespace pxwrite {
namespace {

std::string lastError;

void onError(pxdoc_t*, int, const char* message, void*)
{
    lastError = message;
}

char typeCode(Type type)
{
    switch (type) {
    case Type::Alpha:
        return pxfAlpha;
    case Type::Short:
        return pxfShort;
    case Type::Long:
        return pxfLong;
    case Type::Logical:
        break;
    }
    return pxfLogical;
}

int byteLength(const Field& field)
{
    switch (field.type) {
    case Type::Alpha:
        return field.length;
    case Type::Short:
        return 2;
    case Type::Long:
        return 4;
    case Type::Logical:
        break;
    }
    return 1;
}

void putValue(pxdoc_t* doc, char* data, const Field& field, const QVariant& value)
{
    const int empty = value.isNull() ? 0 : 1;
    switch (field.type) {
    case Type::Alpha: {
        QByteArray text = value.toString().toUtf8();
        PX_put_data_alpha(doc, data, field.length, empty ? text.data() : nullptr);
        break;
    }
    case Type::Short:
        PX_put_data_short(doc, data, empty * 2, short(value.toInt()));
        break;
    case Type::Long:
        PX_put_data_long(doc, data, empty * 4, value.toInt());
        break;
    case Type::Logical:
        // pxlib keeps false as 0x80 and true as 0x81.
        PX_put_data_byte(doc, data, empty, char(value.toBool() ? 1 : 0));
        break;
    }
}

} // namespace

void writeTable(const QString& path, const QList<Field>& fields, const QList<QVariantList>& rows)
{
    pxdoc_t* doc = PX_new2(onError, nullptr, nullptr, nullptr);
    // pxlib takes the field list and frees it with its own allocator (malloc).
    auto* list = static_cast<pxfield_t*>(std::calloc(size_t(fields.size()), sizeof(pxfield_t)));
    int recordSize = 0;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        list[i].px_fname = strdup(fields[i].name.constData());
        list[i].px_ftype = typeCode(fields[i].type);
        list[i].px_flen = byteLength(fields[i]);
        list[i].px_fdc = 0;
        recordSize += list[i].px_flen;
    }
    lastError.clear();
    if (PX_create_file(doc, list, int(fields.size()), path.toLocal8Bit().constData(),
                       pxfFileTypNonIndexDB) < 0) {
        PX_delete(doc);
        throw std::runtime_error("pxlib cannot create the table: " + lastError);
    }
    PX_set_value(doc, "codepage", 932);
    PX_set_targetencoding(doc, "CP932");
    PX_set_inputencoding(doc, "UTF-8");
    std::string record(size_t(recordSize), '\0');
    for (const QVariantList& row : rows) {
        std::memset(record.data(), 0, record.size());
        int offset = 0;
        for (qsizetype i = 0; i < fields.size(); ++i) {
            putValue(doc, record.data() + offset, fields[i], row.value(i));
            offset += byteLength(fields[i]);
        }
        if (PX_put_record(doc, record.data()) < 0) {
            PX_close(doc);
            PX_delete(doc);
            throw std::runtime_error("pxlib cannot write a record: " + lastError);
        }
    }
    PX_close(doc);
    PX_delete(doc);
}

} // namespace pxwrite
