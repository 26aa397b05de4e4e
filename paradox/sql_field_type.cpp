#include "paradox/sql_field_type.h"

#include "paradox/sql_token_reader.h"

namespace paradox::sql {
namespace {

enum class Arguments
{
    None,
    Width,     // (n), required: text width in bytes
    Precision, // optional (p) or (p, s); a Number field is a binary double either way
    Memo,      // (n, 1), required: memo leader bytes kept in the record, subtype 1
};

struct TypeName
{
    const char* name;
    FieldType type;
    int size;
    Arguments arguments;
};

constexpr int MaxAlphaWidth = 255;
constexpr int MaxMemoLeader = 240;
constexpr int MemoReferenceSize = 10; // block, length and modification number after the leader
constexpr int MemoSubtype = 1;

const TypeName TypeNames[] = {
    {"CHAR", FieldType::Alpha, 0, Arguments::Width},
    {"VARCHAR", FieldType::Alpha, 0, Arguments::Width},
    {"ALPHA", FieldType::Alpha, 0, Arguments::Width},
    {"SMALLINT", FieldType::Short, 2, Arguments::None},
    {"INTEGER", FieldType::Long, 4, Arguments::None},
    {"INT", FieldType::Long, 4, Arguments::None},
    {"LONG", FieldType::Long, 4, Arguments::None},
    {"AUTOINC", FieldType::AutoIncrement, 4, Arguments::None},
    {"BOOLEAN", FieldType::Logical, 1, Arguments::None},
    {"LOGICAL", FieldType::Logical, 1, Arguments::None},
    {"NUMERIC", FieldType::Number, 8, Arguments::Precision},
    {"FLOAT", FieldType::Number, 8, Arguments::Precision},
    {"NUMBER", FieldType::Number, 8, Arguments::Precision},
    {"MONEY", FieldType::Currency, 8, Arguments::None},
    {"DATE", FieldType::Date, 4, Arguments::None},
    {"TIME", FieldType::Time, 4, Arguments::None},
    {"TIMESTAMP", FieldType::Timestamp, 8, Arguments::None},
    {"BLOB", FieldType::Memo, MemoReferenceSize, Arguments::Memo},
};

int boundedCount(TokenReader& reader, const QString& what, int low, int high)
{
    const int value = reader.count(what);
    if (value < low || value > high)
        reader.fail(QStringLiteral("%1は %2 から %3 までです。").arg(what).arg(low).arg(high));
    return value;
}

void readArguments(TokenReader& reader, const TypeName& type, Field& field)
{
    switch (type.arguments) {
    case Arguments::None:
        return;
    case Arguments::Width:
        reader.expectSymbol(u"(");
        field.size =
            boundedCount(reader, QStringLiteral("%1 の長さ").arg(QLatin1StringView(type.name)), 1,
                         MaxAlphaWidth);
        break;
    case Arguments::Precision:
        if (!reader.acceptSymbol(u"("))
            return;
        reader.count(QStringLiteral("桁数"));
        if (reader.acceptSymbol(u","))
            reader.count(QStringLiteral("小数部の桁数"));
        break;
    case Arguments::Memo:
        reader.expectSymbol(u"(");
        field.size += boundedCount(reader, QStringLiteral("メモの先頭部の長さ"), 1, MaxMemoLeader);
        reader.expectSymbol(u",");
        if (reader.count(QStringLiteral("BLOB の種類")) != MemoSubtype)
            reader.fail(QStringLiteral("BLOB は種類 1 (メモ) だけが使えます。"));
        break;
    }
    reader.expectSymbol(u")");
}

} // namespace

Field readFieldType(TokenReader& reader, const QString& fieldName)
{
    const Token& word = reader.peek();
    if (word.kind == Token::Kind::Word) {
        for (const TypeName& type : TypeNames) {
            if (!word.isWord(type.name))
                continue;
            reader.skip(1);
            Field field{fieldName, type.type, type.size};
            readArguments(reader, type, field);
            return field;
        }
    }
    reader.fail(QStringLiteral("列 %1 の型が分かりません。使える型: CHAR(n)、VARCHAR(n)、"
                               "ALPHA(n)、SMALLINT、INTEGER、AUTOINC、BOOLEAN、NUMERIC、MONEY、"
                               "DATE、TIME、TIMESTAMP、BLOB(n,1)")
                    .arg(fieldName));
}

} // namespace paradox::sql
