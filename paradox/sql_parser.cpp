#include "paradox/sql_parser.h"

#include "core/error.h"
#include "paradox/sql_field_type.h"
#include "paradox/sql_lexer.h"
#include "paradox/sql_token_reader.h"

namespace paradox::sql {
namespace {

using Kind = Token::Kind;

Comparison mirrored(Comparison comparison)
{
    switch (comparison) {
    case Comparison::Less:
        return Comparison::Greater;
    case Comparison::LessOrEqual:
        return Comparison::GreaterOrEqual;
    case Comparison::Greater:
        return Comparison::Less;
    case Comparison::GreaterOrEqual:
        return Comparison::LessOrEqual;
    default:
        return comparison;
    }
}

class Parser : public TokenReader
{
public:
    using TokenReader::TokenReader;

    Statement statement()
    {
        if (peek().kind == Kind::End)
            fail(QStringLiteral("SQL 文が空です。"));
        Statement result = dispatch();
        finish();
        return result;
    }

private:
    Statement dispatch()
    {
        if (acceptWord("SELECT"))
            return select();
        if (acceptWord("INSERT"))
            return insert();
        if (acceptWord("UPDATE"))
            return update();
        if (acceptWord("DELETE"))
            return remove();
        if (peek().isWord("DROP") && peek(1).isWord("TABLE")) {
            skip(2);
            return DropTableStatement{tableName()};
        }
        if (acceptWord("CREATE"))
            return create();
        if (acceptWord("SAVEPOINT"))
            return SavepointStatement{name(QStringLiteral("セーブポイント名")), false};
        if (peek().isWord("ROLLBACK") && peek(1).isWord("TO")) {
            skip(2);
            acceptWord("SAVEPOINT");
            return SavepointStatement{name(QStringLiteral("セーブポイント名")), true};
        }
        refuseStatement();
    }

    // Names the statement by its leading words ("TRUNCATE TABLE", "DROP INDEX").
    [[noreturn]] void refuseStatement() const
    {
        if (tokenAt(0).kind != Kind::Word)
            fail(QStringLiteral("SQL 文の始まりが正しくありません。"));
        QString verb = tokenAt(0).text.toUpper();
        if (tokenAt(1).kind == Kind::Word)
            verb += u' ' + tokenAt(1).text.toUpper();
        throw SkelvoError(
            QStringLiteral("%1 はこのフォルダーのテーブルでは使えない SQL 文です。").arg(verb));
    }

    SelectStatement select()
    {
        SelectStatement statement;
        if (peek().isWord("COUNT") && peek(1).isSymbol(u"(")) {
            skip(2);
            expectSymbol(u"*");
            expectSymbol(u")");
            statement.countRows = true;
        } else if (!acceptSymbol(u"*")) {
            statement.columns = names();
        }
        expectWord("FROM");
        statement.table = tableName();
        statement.where = where();
        if (acceptWord("ORDER")) {
            expectWord("BY");
            do
                statement.orderBy.append(orderKey());
            while (acceptSymbol(u","));
        }
        return statement;
    }

    OrderKey orderKey()
    {
        OrderKey key{name(QStringLiteral("列名"))};
        if (!acceptWord("ASC"))
            key.descending = acceptWord("DESC");
        return key;
    }

    InsertStatement insert()
    {
        InsertStatement statement;
        expectWord("INTO");
        statement.table = tableName();
        if (acceptSymbol(u"(")) {
            statement.columns = names();
            expectSymbol(u")");
        }
        expectWord("VALUES");
        expectSymbol(u"(");
        do
            statement.values.append(literal());
        while (acceptSymbol(u","));
        expectSymbol(u")");
        if (!statement.columns.isEmpty() && statement.columns.size() != statement.values.size())
            fail(QStringLiteral("列が %1 個、値が %2 個あります。数が合いません。")
                     .arg(statement.columns.size())
                     .arg(statement.values.size()));
        return statement;
    }

    UpdateStatement update()
    {
        UpdateStatement statement;
        statement.table = tableName();
        expectWord("SET");
        do {
            Assignment assignment{name(QStringLiteral("列名")), {}};
            expectSymbol(u"=");
            assignment.value = literal();
            statement.assignments.append(assignment);
        } while (acceptSymbol(u","));
        statement.where = where();
        return statement;
    }

    DeleteStatement remove()
    {
        DeleteStatement statement;
        expectWord("FROM");
        statement.table = tableName();
        statement.where = where();
        return statement;
    }

    Statement create()
    {
        if (acceptWord("TABLE"))
            return createTable();
        const bool unique = acceptWord("UNIQUE");
        if (!acceptWord("INDEX"))
            refuseStatement();
        CreateIndexStatement statement;
        statement.unique = unique;
        statement.index = tableName();
        expectWord("ON");
        statement.table = tableName();
        expectSymbol(u"(");
        do
            statement.columns.append(orderKey().column);
        while (acceptSymbol(u","));
        expectSymbol(u")");
        return statement;
    }

    CreateTableStatement createTable()
    {
        CreateTableStatement statement;
        statement.table = tableName();
        expectSymbol(u"(");
        do {
            const Field field = fieldDefinition();
            for (const Field& other : std::as_const(statement.fields)) {
                if (other.name.compare(field.name, Qt::CaseInsensitive) == 0)
                    fail(QStringLiteral("列 %1 が二度定義されています。").arg(field.name));
            }
            statement.fields.append(field);
        } while (acceptSymbol(u","));
        expectSymbol(u")");
        return statement;
    }

    // Keys and checks have no place in the table files this store writes:
    // a primary key needs a primary index file, which it does not keep.
    void refusePrimaryKey() const
    {
        if (peek().isWord("PRIMARY") && peek(1).isWord("KEY"))
            fail(
                QStringLiteral("主キー (PRIMARY KEY) は使えません。このフォルダーのテーブルには"
                               "主索引を作らないため、キーのないテーブルとして定義してください。"));
    }

    void refuseTableConstraint() const
    {
        refusePrimaryKey();
        const bool listed = peek(1).isSymbol(u"(");
        if (peek().isWord("CONSTRAINT") || peek().isWord("FOREIGN") ||
            (listed && (peek().isWord("UNIQUE") || peek().isWord("CHECK"))))
            fail(QStringLiteral("表の制約 %1 は使えません。").arg(peek().text.toUpper()));
    }

    Field fieldDefinition()
    {
        refuseTableConstraint();
        const QString name = this->name(QStringLiteral("列名"));
        const Field field = readFieldType(*this, name);
        refusePrimaryKey();
        QStringList constraint;
        for (int i = 0; peek(i).kind == Kind::Word; ++i)
            constraint.append(peek(i).text.toUpper());
        if (!constraint.isEmpty())
            fail(QStringLiteral("列 %1 の制約 %2 は使えません。").arg(name, constraint.join(u' ')));
        if (!peek().isSymbol(u",") && !peek().isSymbol(u")"))
            fail(QStringLiteral("',' か ')' が必要です。"));
        return field;
    }

    QStringList names()
    {
        QStringList result;
        do
            result.append(name(QStringLiteral("列名")));
        while (acceptSymbol(u","));
        return result;
    }

    std::optional<Condition> where()
    {
        if (!acceptWord("WHERE"))
            return std::nullopt;
        return orCondition();
    }

    Condition orCondition()
    {
        Condition left = andCondition();
        while (acceptWord("OR"))
            left = Condition{Condition::Kind::Or, {}, {}, {}, {left, andCondition()}};
        return left;
    }

    Condition andCondition()
    {
        Condition left = notCondition();
        while (acceptWord("AND"))
            left = Condition{Condition::Kind::And, {}, {}, {}, {left, notCondition()}};
        return left;
    }

    Condition notCondition()
    {
        if (acceptWord("NOT"))
            return Condition{Condition::Kind::Not, {}, {}, {}, {notCondition()}};
        if (acceptSymbol(u"(")) {
            Condition inner = orCondition();
            expectSymbol(u")");
            return inner;
        }
        return predicate();
    }

    Condition predicate()
    {
        Condition condition;
        if (startsLiteral()) {
            condition.value = literal();
            condition.comparison = mirrored(comparison());
            if (startsLiteral())
                fail(QStringLiteral("値どうしは比較できません。一方は列名にしてください。"));
            condition.column = name(QStringLiteral("列名"));
            return condition;
        }
        condition.column = name(QStringLiteral("列名または値"));
        if (acceptWord("IS")) {
            condition.kind =
                acceptWord("NOT") ? Condition::Kind::IsNotNull : Condition::Kind::IsNull;
            expectWord("NULL");
            return condition;
        }
        condition.comparison = comparison();
        if (!startsLiteral())
            fail(QStringLiteral("値が必要です (列どうしは比較できません)。"));
        condition.value = literal();
        return condition;
    }

    Comparison comparison()
    {
        static const std::pair<const char16_t*, Comparison> operators[] = {
            {u"=", Comparison::Equal},          {u"<>", Comparison::NotEqual},
            {u"!=", Comparison::NotEqual},      {u"<", Comparison::Less},
            {u"<=", Comparison::LessOrEqual},   {u">", Comparison::Greater},
            {u">=", Comparison::GreaterOrEqual}};
        for (const auto& [symbol, comparison] : operators) {
            if (acceptSymbol(symbol))
                return comparison;
        }
        fail(QStringLiteral("比較 (= <> != < <= > >=) か IS が必要です。"));
    }

    bool startsLiteral() const
    {
        const Token& token = peek();
        return token.kind == Kind::Text || token.kind == Kind::Number || token.isSymbol(u"-") ||
               token.isSymbol(u"+") || token.isSymbol(u"?") || token.isWord("NULL") ||
               token.isWord("TRUE") || token.isWord("FALSE");
    }

    Literal literal()
    {
        const Token& token = peek();
        if (token.kind == Kind::Text) {
            skip(1);
            return {Literal::Kind::Text, token.text};
        }
        if (acceptSymbol(u"?"))
            return {Literal::Kind::Parameter, {}, false, parameters_++};
        if (token.isWord("NULL") || token.isWord("TRUE") || token.isWord("FALSE")) {
            skip(1);
            if (token.isWord("NULL"))
                return {};
            return {Literal::Kind::Boolean, token.text.toUpper(), token.isWord("TRUE")};
        }
        const bool negative = acceptSymbol(u"-");
        if (!negative)
            acceptSymbol(u"+");
        if (peek().kind != Kind::Number)
            fail(QStringLiteral("値 ('文字'、数値、NULL、TRUE、FALSE) が必要です。"));
        const QString digits = take().text;
        return {Literal::Kind::Number, negative ? u'-' + digits : digits};
    }

    int parameters_ = 0;
};

} // namespace

Statement parseStatement(const QString& text)
{
    return Parser(tokenize(text)).statement();
}

} // namespace paradox::sql
