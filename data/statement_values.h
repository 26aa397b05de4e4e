#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <optional>

// How the statements of one connection carry values: as bound parameters,
// or, where a store cannot take them bound, as literals made by that store's
// own rules.
class StatementValues
{
public:
    using Literal = std::function<QString(const QVariant&)>;

    explicit StatementValues(Literal literal = {}) : literal_(std::move(literal)) {}
    bool asLiterals() const { return bool(literal_); }

    // The value's place in a statement: "?" with the value added to bound,
    // or its literal.
    QString place(QVariantList& bound, const QVariant& value) const;
    QString literal(const QVariant& value) const { return literal_(value); }

private:
    Literal literal_;
};

// The most text a column holds: characters (a server's column) or bytes in
// code page 932 (a folder table's field); 0 for no limit known.
struct TextLimit
{
    int size = 0;
    bool inCp932Bytes = false;
};
// By lower-case column name.
using TextLimits = QHash<QString, TextLimit>;

// What one kind of store needs done its own way when rows are written, given
// by the layer that knows the store; left empty, values travel bound, the
// driver tells an appended row's number and values are kept as given.
struct StoreDialect
{
    // Values travel inside the statement text, made by this.
    StatementValues::Literal literal = {};
    // The store's number of the row just appended on the connection, where
    // the driver cannot tell it.
    std::function<QVariant(const QSqlDatabase&)> insertedIdentity = {};
    // How the store keeps a value it is given (text in the look-alikes of
    // its code page, say), so that a written row shows what the table holds.
    std::function<QVariant(const QVariant&)> storedForm = {};
    // How much text each column of a table holds, so that a longer text is
    // refused before anything is written rather than cut or refused by the
    // store part-way.
    std::function<TextLimits(QSqlDatabase db, const QString& table)> textLimits = {};
};

// A text holding U+0000 reaches no store whole: one cuts it there, one drops
// the character, one keeps it where no other program expects it. Nor does a
// text longer than its column. Why such a value is refused, naming the
// column (and its limit); empty for any other value.
QString unstorableValueProblem(const QString& column, const QVariant& value, TextLimit limit = {});
// The literal of a value that every SQL server reads alike: NULL, an
// integer, a flag as 1 or 0. None for any other value.
std::optional<QString> commonLiteral(const QVariant& value);
// Whether a name is plain: ASCII letters, digits and '_', not starting with
// a digit, which every store's SQL reads as it stands.
bool isPlainName(const QString& name);
// A name between quote characters, each quote character inside it doubled:
// so every store's SQL reads it as one name, whatever characters it holds.
QString quotedName(const QString& name, QChar quote);
// A bound value as every driver takes it (a typed null as SQL NULL).
QVariant bindable(const QVariant& value);
// The store's message, or a word that there was none.
QString errorText(const QSqlError& error);
