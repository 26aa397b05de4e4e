#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariant>
#include <QVariantList>

// How the statements of one connection carry values: as bound parameters,
// or, through ODBC, as literals escaped by the rules the server itself
// follows (Qt's ODBC driver of this generation sends a bound text one
// character too long, its terminating U+0000, which the server stores).
class StatementValues
{
public:
    // Learns the connection's rules; asks the server once through ODBC.
    void probe(const QSqlDatabase& db);
    bool asLiterals() const { return literalValues_; }

    // The value's place in a statement: "?" with the value added to bound,
    // or its literal.
    QString place(QVariantList& bound, const QVariant& value) const;
    QString literal(const QVariant& value) const;

private:
    bool literalValues_ = false;
    bool backslashEscapes_ = false; // the server reads \ in a literal as an escape
    bool nationalLiterals_ = false; // N'...' keeps text outside the server's code page
};

// A bound value as every driver takes it (a typed null as SQL NULL).
QVariant bindable(const QVariant& value);
// The store's message, or a word that there was none.
QString errorText(const QSqlError& error);
