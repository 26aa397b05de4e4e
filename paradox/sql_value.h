#pragma once

#include "paradox/paradox_table.h"
#include "paradox/sql_statement.h"

#include <QVariant>
#include <optional>

// Values of a table's fields as statements meet them: a literal is
// converted to its field's type once per statement, so that matching rows
// compares values of one type.
namespace paradox::sql {

// How the values of a field compare with each other.
enum class ValueClass
{
    Integer,
    Real,
    Decimal, // exact decimal digits as text, compared by value
    Text,
    Boolean,
    Date,
    Time,
    DateTime,
    Bytes,
};

ValueClass valueClass(FieldType type);

// The literal as a value of the field (QVariant() for NULL). Text goes into
// numeric, logical and date fields when it reads as such a value ('5' into
// an integer); blank text there is null. Raises SkelvoError naming the field
// otherwise.
QVariant fieldValue(const Literal& literal, const Field& field);

// The value as the table will hold it: as fieldValue, with the empty text
// stored as the null it reads back as.
QVariant storedValue(const Literal& literal, const Field& field);

// A Paradox file stores the empty text and a null text alike, so in text
// fields the two are one value: null compares as the empty text, and the
// empty text is null.
bool isNullValue(const QVariant& value, ValueClass kind);

// Compares two values of one field; nullopt when either is null, which SQL
// leaves unanswered.
std::optional<int> compareValues(const QVariant& a, const QVariant& b, ValueClass kind);

// The order of ORDER BY: nulls first.
int orderValues(const QVariant& a, const QVariant& b, ValueClass kind);

// The field's position by name, in any letter case as Paradox does; -1 when
// there is none.
int fieldIndex(const QList<Field>& fields, QStringView name);

// As fieldIndex, but raises an error naming the table when there is none.
int requireField(const QList<Field>& fields, const QString& name, const QString& table);

} // namespace paradox::sql
