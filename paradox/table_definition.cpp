#include "paradox/table_definition.h"

#include "core/error.h"
#include "paradox/block_chain.h"
#include "paradox/code_page.h"
#include "paradox/field_writing.h"

#include <QSet>

namespace paradox::codec {
namespace {

constexpr int MaxFields = 255;
constexpr int MaxNameLength = 25;
constexpr int MaxAlphaWidth = 255;
constexpr int MaxMemoSize = 240 + BlobTailSize; // leader and tail
constexpr int MinMemoSize = 1 + BlobTailSize;
constexpr int MaxBlockSize = NewTableBlockSize;

[[noreturn]] void refuse(const QString& problem)
{
    throw SkelvoError(QStringLiteral("テーブルを作れません: %1").arg(problem));
}

// Bytes in the record for a type of fixed size; 0 for types sized by the caller.
int fixedSize(FieldType type)
{
    switch (type) {
    case FieldType::Short:
        return 2;
    case FieldType::Long:
    case FieldType::AutoIncrement:
    case FieldType::Date:
    case FieldType::Time:
        return 4;
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Timestamp:
        return 8;
    case FieldType::Logical:
        return 1;
    default:
        return 0;
    }
}

int checkedSize(const Field& field)
{
    if (!writesType(field.type))
        refuse(QStringLiteral("フィールド「%1」の型 (%2) は作れません。")
                   .arg(field.name, typeLetter(field.type)));
    if (const int size = fixedSize(field.type)) {
        if (field.size != 0 && field.size != size)
            refuse(QStringLiteral("フィールド「%1」の長さ %2 はこの型の長さ %3 と違います。")
                       .arg(field.name, QString::number(field.size), QString::number(size)));
        return size;
    }
    const bool memo = field.type == FieldType::Memo;
    const int low = memo ? MinMemoSize : 1;
    const int high = memo ? MaxMemoSize : MaxAlphaWidth;
    if (field.size < low || field.size > high)
        refuse(QStringLiteral("フィールド「%1」の長さ %2 は %3 から %4 までにしてください。")
                   .arg(field.name, QString::number(field.size), QString::number(low),
                        QString::number(high)));
    return field.size;
}

QByteArray checkedName(const Field& field, const CodePage& codePage, QSet<QString>& seen)
{
    const QString name = field.name;
    if (name.trimmed().isEmpty() || name.size() > MaxNameLength || name.contains(QChar(0)))
        refuse(QStringLiteral("フィールド名「%1」は 1 文字から %2 文字までにしてください。")
                   .arg(name, QString::number(MaxNameLength)));
    if (seen.contains(name.toCaseFolded()))
        refuse(QStringLiteral("フィールド名「%1」が重なっています。").arg(name));
    seen.insert(name.toCaseFolded());
    try {
        return codePage.encode(name);
    } catch (const SkelvoError& error) {
        refuse(QStringLiteral("フィールド名「%1」: %2").arg(name, error.message()));
    }
}

} // namespace

QList<FieldLayout> layoutFields(const QList<Field>& fields, const CodePage& codePage)
{
    if (fields.isEmpty() || fields.size() > MaxFields)
        refuse(QStringLiteral("フィールドは 1 個から %1 個までです。").arg(MaxFields));
    QList<FieldLayout> layouts;
    QSet<QString> seen;
    int offset = 0;
    int autoIncrements = 0;
    for (const Field& field : fields) {
        if (field.type == FieldType::AutoIncrement && ++autoIncrements > 1)
            refuse(QStringLiteral("自動採番のフィールドは一つだけです。"));
        FieldLayout layout;
        layout.type = field.type;
        layout.size = checkedSize(field);
        layout.offset = offset;
        layout.name = checkedName(field, codePage, seen);
        offset += layout.size;
        layouts.append(layout);
    }
    if (offset > MaxBlockSize - BlockHeadSize)
        refuse(QStringLiteral("レコード長 %1 バイトが長すぎます。").arg(offset));
    return layouts;
}

} // namespace paradox::codec
