// The tokens of one statement with the parsing steps every statement shares: keywords,
// symbols, table and field names, literals, and syntax errors that say what was expected.
#pragma once

#include "pdx/sql/ast.h"
#include "pdx/sql/lexer.h"

#include <string>
#include <string_view>
#include <vector>

namespace pdx::sql {

class TokenStream {
public:
    explicit TokenStream(std::string_view text);

    std::string_view text() const { return text_; }
    const Token& peek(std::size_t ahead = 0) const;
    const Token& take();

    static bool isKeyword(const Token& token, std::string_view keyword);  // keyword in lower case
    bool atSymbol(std::string_view symbol) const;
    bool acceptKeyword(std::string_view keyword);
    bool acceptSymbol(std::string_view symbol);
    void expectKeyword(std::string_view keyword);
    void expectSymbol(std::string_view symbol);

    // A quoted path, or a bare name with ".db" appended.
    std::string tableName();
    std::string fieldName();
    // "(name, ...)" with no name twice.
    std::vector<std::string> nameList();

    bool atLiteral() const;
    Literal literal();

    // "expected ..., found ..." at the next token (or the lexer's own problem there).
    [[noreturn]] void fail(const std::string& expected) const;
    [[noreturn]] void failAt(const Token& token, const std::string& problem) const;
    [[noreturn]] void failAt(std::size_t offset, const std::string& problem) const;

private:
    std::string_view text_;
    std::vector<Token> tokens_;
    std::size_t index_ = 0;
};

}  // namespace pdx::sql
