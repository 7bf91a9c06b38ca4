// Recursive descent over the tokens of one statement.
#include "pdx/error.h"
#include "pdx/sql.h"
#include "pdx/sql_column_type.h"
#include "pdx/sql_expr.h"
#include "pdx/sql_lexer.h"
#include "pdx/sql_text.h"

#include <charconv>
#include <optional>

namespace pdx::sql {

namespace {

constexpr std::size_t maxFieldNameLength = 25;
constexpr std::size_t maxFieldCount = 255;
constexpr std::string_view bareTableSuffix = ".db";

// Words that cannot be bare field names in a condition.
bool isConditionKeyword(const std::string& folded) {
    for (std::string_view keyword : {"and", "or", "not", "is", "null", "true", "false"}) {
        if (folded == keyword) return true;
    }
    return false;
}

CompareOp mirrored(CompareOp op) {
    switch (op) {
        case CompareOp::Less: return CompareOp::Greater;
        case CompareOp::LessOrEqual: return CompareOp::GreaterOrEqual;
        case CompareOp::Greater: return CompareOp::Less;
        case CompareOp::GreaterOrEqual: return CompareOp::LessOrEqual;
        default: return op;
    }
}

// One side of a comparison: a field name or a literal.
struct Operand {
    bool isField;
    std::string field;
    Literal literal;
    std::size_t offset;
};

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), tokens_(tokenize(text)) {}

    Statement statement() {
        Statement result;
        if (acceptKeyword("delete")) {
            result = deleteStatement();
        } else if (acceptKeyword("create")) {
            result = createStatement();
        } else if (acceptKeyword("insert")) {
            result = insertStatement();
        } else {
            fail("ожидалось DELETE, CREATE TABLE или INSERT");
        }
        acceptSymbol(";");
        if (peek().kind != TokenKind::End) fail("ожидался конец запроса");
        return result;
    }

private:
    // --- tokens ---
    const Token& peek(std::size_t ahead = 0) const {
        return tokens_[std::min(index_ + ahead, tokens_.size() - 1)];
    }
    const Token& take() {
        const Token& token = peek();
        if (token.kind != TokenKind::End && token.kind != TokenKind::Invalid) ++index_;
        return token;
    }
    bool isKeyword(const Token& token, std::string_view keyword) const {
        return token.kind == TokenKind::Word && foldCase(token.text) == keyword;
    }
    bool acceptKeyword(std::string_view keyword) {
        if (!isKeyword(peek(), keyword)) return false;
        take();
        return true;
    }
    bool acceptSymbol(std::string_view symbol) {
        if (peek().kind != TokenKind::Symbol || peek().text != symbol) return false;
        take();
        return true;
    }
    void expectKeyword(std::string_view keyword, std::string_view shown) {
        if (!acceptKeyword(keyword)) fail("ожидалось " + std::string(shown));
    }
    void expectSymbol(std::string_view symbol) {
        if (!acceptSymbol(symbol)) fail("ожидалось " + quoted(symbol));
    }
    // "expected ..., found ..." at the next token.
    [[noreturn]] void fail(const std::string& expected) const {
        const Token& token = peek();
        if (token.kind == TokenKind::Invalid) throwSyntaxError(text_, token.offset, token.text);
        std::string found = token.kind == TokenKind::End ? "конец запроса" : quoted(tokenText(token));
        throwSyntaxError(text_, token.offset, expected + ", а найдено " + found);
    }
    [[noreturn]] void failAt(const Token& token, const std::string& problem) const {
        throwSyntaxError(text_, token.offset, problem);
    }
    std::string tokenText(const Token& token) const {
        switch (token.kind) {
            case TokenKind::QuotedName: return "\"" + token.text + "\"";
            case TokenKind::String: return "'" + token.text + "'";
            default: return token.text;
        }
    }

    // --- names ---
    std::string tableName() {
        const Token& token = peek();
        if (token.kind == TokenKind::QuotedName) {
            if (token.text.empty()) fail("ожидалось имя таблицы");
            return take().text;
        }
        if (token.kind == TokenKind::Word) return take().text + std::string(bareTableSuffix);
        fail("ожидалось имя таблицы");
    }
    std::string fieldName() {
        const Token& token = peek();
        if (token.kind == TokenKind::QuotedName || token.kind == TokenKind::Word) {
            if (token.text.empty()) fail("ожидалось имя поля");
            return take().text;
        }
        fail("ожидалось имя поля");
    }
    std::vector<std::string> nameList() {
        expectSymbol("(");
        std::vector<std::string> names;
        do {
            const Token& at = peek();
            std::string name = fieldName();
            for (const auto& earlier : names) {
                if (sameName(earlier, name)) failAt(at, "поле " + quoted(name) + " указано дважды");
            }
            names.push_back(name);
        } while (acceptSymbol(","));
        expectSymbol(")");
        return names;
    }

    // --- literals ---
    bool startsLiteral() const {
        const Token& token = peek();
        if (token.kind == TokenKind::String || token.kind == TokenKind::Number) return true;
        if (token.kind == TokenKind::Symbol) return token.text == "-" || token.text == "+";
        return isKeyword(token, "null") || isKeyword(token, "true") || isKeyword(token, "false");
    }
    Literal literal() {
        const Token& token = peek();
        if (token.kind == TokenKind::String) return take().text;
        if (acceptKeyword("null")) return Null{};
        if (acceptKeyword("true")) return true;
        if (acceptKeyword("false")) return false;
        std::string sign;
        if (acceptSymbol("-")) sign = "-";
        else if (acceptSymbol("+")) sign = "+";
        if (peek().kind != TokenKind::Number) fail("ожидалось значение");
        return Number{sign + take().text};
    }

    // --- DELETE ---
    Delete deleteStatement() {
        expectKeyword("from", "FROM");
        Delete result;
        result.table = tableName();
        if (acceptKeyword("where")) result.where = orExpr();
        return result;
    }

    std::shared_ptr<const Expr> orExpr() {
        auto left = andExpr();
        while (acceptKeyword("or")) left = binary(Expr::Kind::Or, left, andExpr());
        return left;
    }
    std::shared_ptr<const Expr> andExpr() {
        auto left = notExpr();
        while (acceptKeyword("and")) left = binary(Expr::Kind::And, left, notExpr());
        return left;
    }
    std::shared_ptr<const Expr> notExpr() {
        if (acceptKeyword("not")) {
            auto expr = std::make_shared<Expr>();
            expr->kind = Expr::Kind::Not;
            expr->left = notExpr();
            return expr;
        }
        if (acceptSymbol("(")) {
            auto inner = orExpr();
            expectSymbol(")");
            return inner;
        }
        return comparison();
    }
    static std::shared_ptr<const Expr> binary(Expr::Kind kind, std::shared_ptr<const Expr> left,
                                              std::shared_ptr<const Expr> right) {
        auto expr = std::make_shared<Expr>();
        expr->kind = kind;
        expr->left = std::move(left);
        expr->right = std::move(right);
        return expr;
    }

    Operand operand() {
        std::size_t offset = peek().offset;
        if (startsLiteral()) return {false, {}, literal(), offset};
        const Token& token = peek();
        // A bare name starting with a digit is more likely a mistyped number, such as 1e5.
        if (token.kind == TokenKind::Word && token.text[0] >= '0' && token.text[0] <= '9') {
            failAt(token, "неверное число " + quoted(token.text) + " (имя поля с цифры пишите в кавычках)");
        }
        bool bareName = token.kind == TokenKind::Word && !isConditionKeyword(foldCase(token.text));
        if (!bareName && token.kind != TokenKind::QuotedName) fail("ожидалось поле или значение");
        return {true, fieldName(), {}, offset};
    }

    std::optional<CompareOp> compareOp() {
        static const std::pair<std::string_view, CompareOp> ops[] = {
            {"=", CompareOp::Equal},        {"<>", CompareOp::NotEqual},
            {"<", CompareOp::Less},         {"<=", CompareOp::LessOrEqual},
            {">", CompareOp::Greater},      {">=", CompareOp::GreaterOrEqual},
        };
        if (peek().kind != TokenKind::Symbol) return std::nullopt;
        for (const auto& [symbol, op] : ops) {
            if (peek().text == symbol) {
                take();
                return op;
            }
        }
        return std::nullopt;
    }

    std::shared_ptr<const Expr> comparison() {
        Operand left = operand();
        auto expr = std::make_shared<Expr>();
        if (left.isField && acceptKeyword("is")) {
            expr->kind = acceptKeyword("not") ? Expr::Kind::IsNotNull : Expr::Kind::IsNull;
            expectKeyword("null", "NULL");
            expr->field = left.field;
            return expr;
        }
        std::optional<CompareOp> op = compareOp();
        if (!op) fail(left.isField ? "ожидалось сравнение (=, <>, <, <=, >, >=) или IS" : "ожидалось сравнение (=, <>, <, <=, >, >=)");
        Operand right = operand();
        if (left.isField == right.isField) {
            throwSyntaxError(text_, left.offset, left.isField ? "сравнение двух полей не поддерживается"
                                                              : "в сравнении должно быть поле");
        }
        const Operand& value = left.isField ? right : left;
        if (std::holds_alternative<Null>(value.literal)) {
            throwSyntaxError(text_, value.offset, "сравнение с NULL не бывает истинным, используйте IS NULL");
        }
        expr->kind = Expr::Kind::Compare;
        expr->field = left.isField ? left.field : right.field;
        expr->op = left.isField ? *op : mirrored(*op);
        expr->literal = value.literal;
        return expr;
    }

    // --- CREATE TABLE ---
    CreateTable createStatement() {
        expectKeyword("table", "TABLE");
        CreateTable result;
        result.table = tableName();
        expectSymbol("(");
        std::optional<std::vector<std::string>> key;
        const Token* keyAt = nullptr;
        do {
            if (isKeyword(peek(), "primary") && isKeyword(peek(1), "key")) {
                if (key) failAt(peek(), "первичный ключ указан дважды");
                keyAt = &peek();
                take();
                take();
                key = nameList();
            } else {
                result.fields.push_back(fieldDefinition(result.fields));
            }
        } while (acceptSymbol(","));
        expectSymbol(")");
        if (result.fields.empty()) failAt(peek(), "в таблице должно быть хотя бы одно поле");
        if (result.fields.size() > maxFieldCount) failAt(peek(), "полей больше " + std::to_string(maxFieldCount));
        if (key) result.keyFieldCount = checkedKey(*key, result.fields, *keyAt);
        return result;
    }

    FieldDef fieldDefinition(const std::vector<FieldDef>& earlier) {
        const Token& nameAt = peek();
        FieldDef field{fieldName(), FieldType::Alpha, 0};
        if (characterCount(field.name) > maxFieldNameLength) {
            failAt(nameAt, "имя поля длиннее " + std::to_string(maxFieldNameLength) + " символов");
        }
        for (const auto& other : earlier) {
            if (sameName(other.name, field.name)) failAt(nameAt, "поле " + quoted(field.name) + " указано дважды");
        }
        const Token& typeAt = peek();
        if (typeAt.kind != TokenKind::Word) fail("ожидался тип поля " + quoted(field.name));
        std::string typeName = take().text;
        std::vector<long long> args;
        if (acceptSymbol("(")) {
            do args.push_back(smallInteger()); while (acceptSymbol(","));
            expectSymbol(")");
        }
        std::string problem = columnType(typeName, args, field);
        if (!problem.empty()) failAt(typeAt, problem + " (поле " + quoted(field.name) + ")");
        return field;
    }

    long long smallInteger() {
        const Token& token = peek();
        long long value = 0;
        auto [end, error] = std::from_chars(token.text.data(), token.text.data() + token.text.size(), value);
        if (token.kind != TokenKind::Number || error != std::errc() || end != token.text.data() + token.text.size()) {
            fail("ожидалось целое число");
        }
        take();
        return value;
    }

    std::size_t checkedKey(const std::vector<std::string>& key, const std::vector<FieldDef>& fields,
                           const Token& at) const {
        for (std::size_t i = 0; i < key.size(); ++i) {
            if (i >= fields.size() || !sameName(key[i], fields[i].name)) {
                failAt(at, "первичный ключ должен состоять из первых полей таблицы по порядку");
            }
            if (isBlobType(fields[i].type)) {
                failAt(at, "поле " + quoted(fields[i].name) + " этого типа не может входить в ключ");
            }
        }
        return key.size();
    }

    // --- INSERT ---
    Insert insertStatement() {
        expectKeyword("into", "INTO");
        Insert result;
        result.table = tableName();
        if (peek().kind == TokenKind::Symbol && peek().text == "(") result.columns = nameList();
        expectKeyword("values", "VALUES");
        do {
            const Token& rowAt = peek();
            expectSymbol("(");
            std::vector<Literal> row;
            do row.push_back(literal()); while (acceptSymbol(","));
            expectSymbol(")");
            std::size_t expected = result.columns.empty() ? (result.rows.empty() ? row.size() : result.rows[0].size())
                                                          : result.columns.size();
            if (row.size() != expected) {
                throwSyntaxError(text_, rowAt.offset, "в строке значений " + std::to_string(row.size()) +
                                                          ", а ожидалось " + std::to_string(expected));
            }
            result.rows.push_back(std::move(row));
        } while (acceptSymbol(","));
        return result;
    }

    std::string_view text_;
    std::vector<Token> tokens_;
    std::size_t index_ = 0;
};

}  // namespace

bool Number::isInteger() const { return text.find('.') == std::string::npos; }

Statement parse(std::string_view text) { return Parser(text).statement(); }

}  // namespace pdx::sql
