// WHERE conditions: OR of ANDs of NOT-able comparisons, parentheses for grouping.
#include "pdx/sql/ast.h"
#include "pdx/sql/parsers.h"
#include "pdx/sql/text.h"

#include <optional>

namespace pdx::sql {

namespace {

// Far beyond what anyone writes by hand; they keep the recursion over the condition's tree
// (here and when it is bound and evaluated) far from the stack's end.
constexpr int kMaxNesting = 200;
constexpr int kMaxComparisons = 1000;

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

class ConditionParser {
public:
    explicit ConditionParser(TokenStream& tokens) : tokens_(tokens) {}

    std::shared_ptr<const Expr> orExpr() {
        auto left = andExpr();
        while (tokens_.acceptKeyword("or")) left = binary(Expr::Kind::Or, left, andExpr());
        return left;
    }

private:
    std::shared_ptr<const Expr> andExpr() {
        auto left = notExpr();
        while (tokens_.acceptKeyword("and")) left = binary(Expr::Kind::And, left, notExpr());
        return left;
    }

    std::shared_ptr<const Expr> notExpr() {
        if (++depth_ > kMaxNesting) tokens_.failAt(tokens_.peek(), "условие вложено слишком глубоко");
        std::shared_ptr<const Expr> result;
        if (tokens_.acceptKeyword("not")) {
            auto expr = std::make_shared<Expr>();
            expr->kind = Expr::Kind::Not;
            expr->left = notExpr();
            result = expr;
        } else if (tokens_.acceptSymbol("(")) {
            result = orExpr();
            tokens_.expectSymbol(")");
        } else {
            result = comparison();
        }
        --depth_;
        return result;
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
        const Token& token = tokens_.peek();
        if (tokens_.atLiteral()) return {false, {}, tokens_.literal(), token.offset};
        // A bare name starting with a digit is more likely a mistyped number, such as 1e5.
        if (token.kind == TokenKind::Word && token.text[0] >= '0' && token.text[0] <= '9') {
            tokens_.failAt(token,
                           "неверное число " + quoted(token.text) + " (имя поля с цифры пишите в кавычках)");
        }
        bool bareName = token.kind == TokenKind::Word && !isConditionKeyword(foldCase(token.text));
        if (!bareName && token.kind != TokenKind::QuotedName) tokens_.fail("ожидалось поле или значение");
        return {true, tokens_.fieldName(), {}, token.offset};
    }

    std::optional<CompareOp> compareOp() {
        static const std::pair<std::string_view, CompareOp> kOps[] = {
            {"=", CompareOp::Equal},        {"<>", CompareOp::NotEqual}, {"<", CompareOp::Less},
            {"<=", CompareOp::LessOrEqual}, {">", CompareOp::Greater},   {">=", CompareOp::GreaterOrEqual},
        };
        for (const auto& [symbol, op] : kOps) {
            if (tokens_.acceptSymbol(symbol)) return op;
        }
        return std::nullopt;
    }

    std::shared_ptr<const Expr> comparison() {
        if (++comparisons_ > kMaxComparisons) {
            tokens_.failAt(tokens_.peek(),
                           "в условии больше " + std::to_string(kMaxComparisons) + " сравнений");
        }
        Operand left = operand();
        auto expr = std::make_shared<Expr>();
        if (left.isField && tokens_.acceptKeyword("is")) {
            expr->kind = tokens_.acceptKeyword("not") ? Expr::Kind::IsNotNull : Expr::Kind::IsNull;
            tokens_.expectKeyword("null");
            expr->field = left.field;
            return expr;
        }
        std::optional<CompareOp> op = compareOp();
        if (!op) {
            tokens_.fail(left.isField ? "ожидалось сравнение (=, <>, <, <=, >, >=) или IS"
                                      : "ожидалось сравнение (=, <>, <, <=, >, >=)");
        }
        Operand right = operand();
        if (left.isField == right.isField) {
            tokens_.failAt(left.offset, left.isField ? "сравнение двух полей не поддерживается"
                                                     : "в сравнении должно быть поле");
        }
        const Operand& value = left.isField ? right : left;
        if (std::holds_alternative<Null>(value.literal)) {
            tokens_.failAt(value.offset, "сравнение с NULL не бывает истинным, используйте IS NULL");
        }
        expr->kind = Expr::Kind::Compare;
        expr->field = left.isField ? left.field : right.field;
        expr->op = left.isField ? *op : mirrored(*op);
        expr->literal = value.literal;
        return expr;
    }

    TokenStream& tokens_;
    int depth_ = 0;
    int comparisons_ = 0;
};

}  // namespace

std::shared_ptr<const Expr> parseCondition(TokenStream& tokens) { return ConditionParser(tokens).orExpr(); }

}  // namespace pdx::sql
